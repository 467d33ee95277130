#include "ui/form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/application.h"
#include "ui/tab_order.h"
#include "ui/visibility.h"

namespace tolva::ui {
namespace {

[[noreturn]] void BrokenPromise(const std::string& form, const std::string& what) {
    std::fprintf(stderr, "form %s: %s\n", form.c_str(), what.c_str());
    std::abort();
}

}  // namespace

Form::Form(Application& application, std::string className, std::string name)
    : application_(&application), className_(std::move(className)), name_(std::move(name)) {
    application_->Register(*this);
}

Form::~Form() {
    application_->Unregister(*this);
}

Component& Form::Add(const ComponentSpec& spec) {
    std::optional<Kind> kind =
        spec.kindGiven ? std::optional<Kind>(spec.kind) : KindOfClass(spec.className);
    if (!kind) {
        BrokenPromise(className_, "class " + spec.className + " of " + spec.name + " has no kind");
    }
    if (spec.name.empty() || Find(spec.name) != nullptr) {
        BrokenPromise(className_, "component name \"" + spec.name + "\" is empty or taken");
    }
    if (spec.parent != nullptr && &spec.parent->Owner() != this) {
        BrokenPromise(className_, spec.name + " placed on another form's component");
    }
    int tabOrder = 0;
    for (const auto& other : components_) {
        if (other->Parent() == spec.parent) {
            ++tabOrder;
        }
    }
    components_.push_back(std::make_unique<Component>(*this, spec, *kind, tabOrder));
    return *components_.back();
}

Component* Form::Find(std::string_view name) const {
    for (const auto& component : components_) {
        if (component->Name() == name) {
            return component.get();
        }
    }
    return nullptr;
}

std::vector<Component*> Form::Children(const Component* parent) const {
    std::vector<Component*> children;
    for (const auto& component : components_) {
        if (component->Parent() == parent) {
            children.push_back(component.get());
        }
    }
    std::stable_sort(children.begin(), children.end(),
                     [](Component* a, Component* b) { return a->ZOrder() < b->ZOrder(); });
    return children;
}

void Form::SetCaption(std::u16string caption) {
    caption = application_->TextFor(std::move(caption), unicodeTexts_);
    if (caption_ != caption) {
        caption_ = std::move(caption);
        Changed(FormProperty::kCaption);
    }
}

void Form::SetFont(std::u16string name, int size) {
    if (fontName_ != name || fontSize_ != size) {
        fontName_ = std::move(name);
        fontSize_ = size;
        Changed(FormProperty::kFont);
    }
}

void Form::SetClientSize(int width, int height) {
    if (clientWidth_ != width || clientHeight_ != height) {
        clientWidth_ = width;
        clientHeight_ = height;
        Changed(FormProperty::kClientSize);
    }
}

void Form::SetColour(Colour colour) {
    if (colour_ != colour) {
        colour_ = colour;
        Changed(FormProperty::kColour);
    }
}

FontSpec Form::EffectiveFont(const Component& component) const {
    FontSpec font = component.Font();
    for (const Component* parent = component.Parent(); parent != nullptr;
         parent = parent->Parent()) {
        const FontSpec& outer = parent->Font();
        if (font.name.empty()) {
            font.name = outer.name;
        }
        if (font.size == 0) {
            font.size = outer.size;
        }
        if (font.colour == kColourDefault) {
            font.colour = outer.colour;
        }
    }
    if (font.name.empty()) {
        font.name = fontName_;
    }
    if (font.size == 0) {
        font.size = fontSize_;
    }
    return font;
}

Colour Form::EffectiveColour(const Component& component) const {
    for (const Component* at = &component; at != nullptr; at = at->Parent()) {
        if (at->GetColour() != kColourDefault) {
            return at->GetColour();
        }
    }
    return colour_;
}

bool Form::SetFocus(Component& component) {
    if (&component.Owner() != this || !TakesFocus(component.GetKind()) ||
        !IsEffectivelyVisible(component) || !IsEffectivelyEnabled(component)) {
        return false;
    }
    if (activeControl_ != &component) {
        activeControl_ = &component;
    }
    if (observer_ != nullptr) {
        observer_->FocusChanged(&component);
    }
    return true;
}

bool Form::FocusFirst() {
    std::vector<Component*> sequence = TabSequence(*this);
    return !sequence.empty() && SetFocus(*sequence.front());
}

void Form::Show() {
    application_->GetDisplay().ShowForm(*this);
}

void Form::Hide() {
    application_->GetDisplay().HideForm(*this);
}

ModalResult Form::ShowModal() {
    return application_->GetDisplay().ShowModal(*this);
}

void Form::Close() {
    if (modal_) {
        modalResult_ = ModalResult::kCancel;
        return;
    }
    if (!CloseQuery()) {
        return;
    }
    if (events.close) {
        application_->Invoke([this] { events.close(*this); });
    }
    Hide();
    if (application_->MainForm() == this) {
        application_->Terminate();
    }
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (events.closeQuery) {
        application_->Invoke([this, &canClose] { events.closeQuery(*this, canClose); });
    }
    return canClose;
}

Point Form::PointerPosition(const Component& component) const {
    return observer_ != nullptr ? observer_->PointerPosition(component) : Point{};
}

int Form::NodeAt(const Component& tree, Point point) const {
    return observer_ != nullptr ? observer_->NodeAt(tree, point) : -1;
}

void Form::ComponentChanged(Component& component, Property property) {
    if (observer_ != nullptr) {
        observer_->ComponentChanged(component, property);
    }
}

void Form::Changed(FormProperty property) {
    if (observer_ != nullptr) {
        observer_->FormChanged(property);
    }
}

}  // namespace tolva::ui
