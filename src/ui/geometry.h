#pragma once
// Pixel geometry of forms and components: positions are relative to the parent's client area.

namespace tolva::ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool Contains(Point point) const {
        return point.x >= left && point.x < Right() && point.y >= top && point.y < Bottom();
    }
    bool Covers(const Bounds& other) const {
        return left <= other.left && top <= other.top && Right() >= other.Right() &&
               Bottom() >= other.Bottom();
    }
    bool operator==(const Bounds&) const = default;
};

}  // namespace tolva::ui
