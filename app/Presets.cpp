#include "app/Presets.h"

std::vector<Obstacle> PoiseuilleWalls(int width, int height)
{
    return {Obstacle{0, 0, 1, width, 1}, Obstacle{0, 0, height - 2, width, 1}};
}
