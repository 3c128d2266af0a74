// A value that is a vector of 32-byte point records, back to back; the base
// of the two spline kinds.
#pragma once

#include <cstring>
#include <vector>

#include "storage/Var.h"

template <class Point, int Kind>
class CVectorVar : public CVar {
public:
    using PointType = Point;
    static constexpr int kKind = Kind;

    explicit CVectorVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
    {
        if (info.type != Kind) return;
        const auto& data = Record(info);
        lower = data.lower;
        upper = data.upper;
        Assign(value, data.points, data.count);
        Assign(defaultValue, data.defaultPoints, data.defaultCount);
    }

    bool IsDefault() const override
    {
        return value.size() == defaultValue.size() &&
               (value.empty() || std::memcmp(value.data(), defaultValue.data(), Bytes(value)) == 0);
    }

    const char* AsString() const override { return "Click here to start edit"; }

    // Whole records only: the bytes past the last whole record are dropped.
    void SetValue(const void* bytes, unsigned length) override
    {
        if (bytes) Assign(value, static_cast<const Point*>(bytes), length / sizeof(Point));
        else value.clear();
        CVar::SetValue(bytes, length);
    }

    void GetValue(void** bytes, unsigned* length) const override
    {
        CopyOut(value.data(), Bytes(value), bytes, length);
    }

    void GetDefaultValue(void** bytes, unsigned* length) const override
    {
        CopyOut(defaultValue.data(), Bytes(defaultValue), bytes, length);
    }

    void SetDefault() override
    {
        value = defaultValue;
        CVar::SetValue(value.data(), Bytes(value));
    }

    // The editors read and reorder the points here and store through SetValue.
    const std::vector<Point>& GetPoints() const { return value; }
    const std::vector<Point>& GetDefaultPoints() const { return defaultValue; }
    const Point& GetLower() const { return lower; }
    const Point& GetUpper() const { return upper; }

private:
    static const auto& Record(const GLOBAL_VARIABLE_INFO& info)
    {
        if constexpr (Kind == VARKIND_SPLINE2D) return info.spline;
        else return info.colorSpline;
    }

    static void Assign(std::vector<Point>& target, const Point* points, size_t count)
    {
        if (!points || count == 0 || count > kMaxPoints) {
            target.clear();
            return;
        }
        target.resize(count);
        std::memcpy(target.data(), points, count * sizeof(Point));
    }

    static unsigned Bytes(const std::vector<Point>& points)
    {
        return static_cast<unsigned>(points.size() * sizeof(Point));
    }

    // A value must fit the 32-bit length of the value bytes.
    static constexpr size_t kMaxPoints = 0xFFFFFFFFu / sizeof(Point);

    std::vector<Point> value;
    std::vector<Point> defaultValue;
    Point lower{};
    Point upper{};
};
