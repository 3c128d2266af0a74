#include "demo/DemoContent.h"

#include <cstdio>
#include <cstring>

#include "samples/attributes/SampleIds.h"

DemoList* CreateSceneList()
{
    DemoList* list = DemoList::Create("Scene");
    list->AddString("title", "Window caption of the scene", "Quillet demo", "Quillet demo");
    list->AddInt("grid|width", "Cells across", 256, 256, 16, 4096);
    list->AddInt("grid|height", "Cells down", 128, 128, 16, 4096);
    list->AddEnum("grid|solver", "Which solver steps the grid", 0, 0, {"CPU", "GPU"});
    list->AddDouble("flow|inflow|velocity", "Speed at the inlet", 0.1, 0.1, 0.0, 0.5, 0.01);
    list->AddFloat("flow|inflow|angle", "Angle of the inflow in degrees", 0.0f, 0.0f, -90.0f, 90.0f, 0.5f);
    list->AddDouble("flow|viscosity", "Kinematic viscosity", 0.02, 0.02, 0.001, 1.0, 0.001);
    const uint8_t background[3] = {30, 30, 60}, obstacle[3] = {200, 50, 127}, obstacleDefault[3] = {255, 255, 255};
    list->AddColor("look|colours|background", "Behind the flow", background, background);
    list->AddColor("look|colours|obstacle", "Fill of obstacles", obstacle, obstacleDefault);
    list->AddSpline("look|curves|brightness", "Brightness over speed",
                    {{0, 0, 1, 1}, {0.5, 0.8, 1, 0.2}, {1, 1, 1, 0}}, {{0, 0, 1, 1}, {1, 1, 1, 1}},
                    {0, 0, 0, 0}, {1, 1, 0, 0});
    list->AddColorSpline("look|curves|palette", "Colours over speed",
                         {{0, 0, 0, 0.5}, {0.5, 0, 1, 0}, {1, 1, 0, 0}}, {{0, 0, 0, 0}, {1, 1, 1, 1}});
    // Served by the sample attribute server (samples/attributes).
    list->AddProps("look|material", "Material properties", CLSID_SampleAttributes, "material", {});
    list->AddString("look|label", "Text drawn in the corner", "", "");
    return list;
}

DemoList* CreateRenderList()
{
    DemoList* list = DemoList::Create("Render");
    list->AddInt("frame|rate", "Frames per second", 60, 60, 1, 240);
    list->AddEnum("frame|sync", "Wait for the display", 1, 1, {"off", "on", "adaptive"});
    list->AddFloat("output|gamma", "Gamma of the picture", 2.2f, 2.2f, 1.0f, 3.0f, 0.1f);
    list->AddString("output|folder", "Where pictures are written", "shots", "shots");
    const uint8_t black[3] = {0, 0, 0};
    list->AddColor("output|border", "Border around the picture", black, black);
    list->AddDouble("output|scale|x", "Horizontal scale", 1.0, 1.0, 0.1, 8.0, 0.1);
    list->AddDouble("output|scale|y", "Vertical scale", 1.0, 1.0, 0.1, 8.0, 0.1);
    return list;
}

std::string DescribeValue(int kind, const void* bytes, unsigned length)
{
    const auto* b = static_cast<const unsigned char*>(bytes);
    char text[128];
    switch (kind) {
    case VARKIND_STRING:
        return "\"" + std::string(reinterpret_cast<const char*>(b ? b : (const unsigned char*)""), b ? strnlen(reinterpret_cast<const char*>(b), length) : 0) + "\"";
    case VARKIND_INT:
    case VARKIND_ENUM:
        if (length >= 4) {
            int32_t v;
            std::memcpy(&v, b, 4);
            std::snprintf(text, sizeof text, "%d", v);
            return text;
        }
        break;
    case VARKIND_DOUBLE:
        if (length >= 8) {
            double v;
            std::memcpy(&v, b, 8);
            std::snprintf(text, sizeof text, "%f", v);
            return text;
        }
        break;
    case VARKIND_FLOAT:
        if (length >= 4) {
            float v;
            std::memcpy(&v, b, 4);
            std::snprintf(text, sizeof text, "%f", double(v));
            return text;
        }
        break;
    case VARKIND_COLORRGB:
        if (length >= 3) {
            std::snprintf(text, sizeof text, "%d-%d-%d", b[0], b[1], b[2]);
            return text;
        }
        break;
    case VARKIND_SPLINE2D:
    case VARKIND_COLORRGBSPLINE:
        std::snprintf(text, sizeof text, "%u points", length / 32);
        return text;
    default: break;
    }
    std::snprintf(text, sizeof text, "%u bytes", length);
    return text;
}
