// The record by which a client describes one variable to the storage
// component.  It crosses the module boundary, so its layout is fixed: the
// fields in this order, each at its natural alignment, so that clients built
// by any compiler of the platform agree on every offset.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/ComBase.h"

// Kind numbers: they select the variable class and the layout of the value
// bytes in callbacks, SetData, data files and editor files alike.
enum VariableKind : int32_t {
    VARKIND_STRING = 0,
    VARKIND_INT = 1,
    VARKIND_ENUM = 2,
    VARKIND_DOUBLE = 3,
    VARKIND_FLOAT = 4,
    VARKIND_SPLINE2D = 5,
    VARKIND_COLORRGB = 6,
    VARKIND_PROPS = 7,
    VARKIND_COLORRGBSPLINE = 8,
};

#pragma pack(push, 1)
// 32 bytes: a point of a 2-D spline with its tangent direction.
struct SPLINE2D_POINT {
    double x;
    double y;
    double dx;
    double dy;
};

// 32 bytes: a colour-ramp marker; ordered by position only.
struct COLORRGBSPLINE_POINT {
    double pos;
    double r;
    double g;
    double b;
    bool operator<(const COLORRGBSPLINE_POINT& other) const { return pos < other.pos; }
};
#pragma pack(pop)
static_assert(sizeof(SPLINE2D_POINT) == 32);
static_assert(sizeof(COLORRGBSPLINE_POINT) == 32);

struct GLOBAL_VARIABLE_INFO {
    const char* name;         // full "|"-separated path
    int32_t type;             // VariableKind
    int32_t modified;         // non-zero when value differs from default
    const char* description;

    union {
        struct {
            const char* value;
            const char* defaultValue;
        } str;
        struct {
            int32_t value, defaultValue, minimum, maximum, step, reserved;
        } i;
        struct {
            int32_t value, defaultValue;
            uint32_t count;
            const char* const* labels;
        } e;
        struct {
            double value, defaultValue, minimum, maximum, step;
            int32_t reserved;
        } d;
        struct {
            float value, defaultValue, minimum, maximum, step;
            int32_t reserved;
        } f;
        struct {
            uint8_t value[3];
            uint8_t defaultValue[3];
        } rgb;
        struct {
            SPLINE2D_POINT lower, upper;
            int32_t count;
            const SPLINE2D_POINT* points;
            int32_t defaultCount;
            const SPLINE2D_POINT* defaultPoints;
        } spline;
        struct {
            COLORRGBSPLINE_POINT lower, upper;
            int32_t count;
            const COLORRGBSPLINE_POINT* points;
            int32_t defaultCount;
            const COLORRGBSPLINE_POINT* defaultPoints;
        } colorSpline;
        struct {
            GUID clsid;  // attribute component that interprets the bytes
            const char* itemName;
            const void* bytes;
            uint32_t length;
        } props;
    };
};

static_assert(offsetof(GLOBAL_VARIABLE_INFO, type) == 8);
static_assert(offsetof(GLOBAL_VARIABLE_INFO, modified) == 12);
static_assert(offsetof(GLOBAL_VARIABLE_INFO, description) == 16);
static_assert(offsetof(GLOBAL_VARIABLE_INFO, i) == 24);
