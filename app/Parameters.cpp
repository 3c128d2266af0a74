#include "app/Parameters.h"

// Defined in one translation unit so that static initialisation registers
// them in this order and destroys them in the reverse one.  A step of -1 asks
// each wrapper to derive its step from the range.
namespace params {
GlobalEnumVariable simulationType("init|simulationType", "CPU or GPU simulation", nullptr, nullptr, 0,
                                  {"GPU", "CPU", nullptr});
GlobalIntVariable gridWidth("init|gridWidth", "grid width", nullptr, nullptr, 512, 64, 1024, -1);
GlobalIntVariable gridHeight("init|gridHeight", "grid height", nullptr, nullptr, 256, 64, 1024, -1);
GlobalFloatVariable flowVelX("init|flowVelX", "flow velocity x", nullptr, nullptr, 0.1f, -0.2f, 0.2f, -1.0f);
GlobalFloatVariable flowVelY("init|flowVelY", "flow velocity y", nullptr, nullptr, 0.0f, -0.2f, 0.2f, -1.0f);
GlobalFloatVariable invViscosity("runtime|invViscosity", "fluid viscosity", nullptr, nullptr, 20.0f, 10.0f, 5000.0f,
                                 -1.0f);
GlobalEnumVariable collision("runtime|collision", "collision model", nullptr, nullptr, 0,
                             {"BGK", "Smagorinsky", nullptr});
GlobalFloatVariable brightness("view|brightness", "visualization brightness", nullptr, nullptr, 1.0f, 0.5f, 10.0f,
                               -1.0f);
GlobalIntVariable updateRate("view|updateRate", "UI update rate", nullptr, nullptr, 10, 1, 40, -1);
GlobalEnumVariable viewMode("view|mode", "what the picture shows", nullptr, nullptr, 0,
                            {"Velocity", "Vorticity", "Speed", "Density", nullptr});
GlobalIntVariable obstacleWidth("obstacle|width", "new obstacle width", nullptr, nullptr, 20, 5, 500, -1);
GlobalIntVariable obstacleHeight("obstacle|height", "new obstacle height", nullptr, nullptr, 20, 5, 100, -1);
GlobalEnumVariable obstacleShape("obstacle|shape", "new obstacle shape", nullptr, nullptr, 1,
                                 {"Rect", "Ellipse", nullptr});
}  // namespace params
