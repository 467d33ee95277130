#pragma once
// What the module download needs of the wizard window: the page caption, the progress bar and its
// text, and repainting.

#include <string>
#include <string_view>

namespace tolva::net {

class DownloadWindow {
public:
    virtual ~DownloadWindow() = default;

    virtual std::u16string PageCaption() const = 0;
    virtual void SetPageCaption(std::u16string_view caption) = 0;
    virtual void SetProgressText(std::u16string_view text) = 0;
    virtual int ProgressMax() const = 0;
    virtual void SetProgressMax(int maximum) = 0;
    // Advances the progress bar by one step.
    virtual void StepProgress() = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Lets pending window messages run, so that the window repaints.
    virtual void Repaint() = 0;
};

}  // namespace tolva::net
