// The checkpoint promise, for either solver: a run saved after 500 steps,
// read back from the file's bytes into a new simulator and stepped 500 more
// ends with the same bits as 1000 steps without a stop.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "sim/Checkpoint.h"
#include "sim/LbmSimulator.h"
#include "sim/StateFile.h"

inline void ExpectSaveAndLoadContinuesBitForBit(const std::function<std::unique_ptr<LbmSimulator>()>& make, int W,
                                                 int H)
{
    const float invViscosity = 80.0f, ux = 0.1f, uy = 0.02f;
    auto start = [&](LbmSimulator& sim, float inv, float vx, float vy) {
        sim.SetViscosity(1.0f / inv);
        sim.SetBoundaryVelocity(vx, vy);
        sim.ResetFlow(vx, vy);
    };
    const std::vector<Obstacle> obstacles = {{1, W / 4, H / 3, 9, 7}, {0, W / 2, H / 2, 3, 5}};
    auto fetch = [&](LbmSimulator& sim) {
        std::vector<LatticeCell> cells(static_cast<size_t>(W * H));
        EXPECT_TRUE(sim.FetchGridState(&cells[0].f[0], static_cast<int>(cells.size() * sizeof(LatticeCell))));
        return cells;
    };

    auto straight = make();
    start(*straight, invViscosity, ux, uy);
    straight->AddObstacles(obstacles);
    straight->Step(1000);
    const std::vector<LatticeCell> expected = fetch(*straight);

    auto first = make();
    start(*first, invViscosity, ux, uy);
    first->AddObstacles(obstacles);
    first->Step(500);
    SimulationState saved;
    saved.width = W;
    saved.height = H;
    saved.step = 500;
    saved.flowVelX = ux;
    saved.flowVelY = uy;
    saved.invViscosity = invViscosity;
    ASSERT_TRUE(CaptureSimulation(*first, saved));
    first.reset();
    const std::vector<char> file = EncodeState(saved);
    SimulationState loaded;
    ASSERT_EQ(DecodeState(reinterpret_cast<const uint8_t*>(file.data()), file.size(), loaded), "");

    auto second = make();
    start(*second, loaded.invViscosity, loaded.flowVelX, loaded.flowVelY);
    const std::vector<LatticeCell> fresh = fetch(*second);
    EXPECT_FALSE(second->LoadGridState(&loaded.cells[0].f[0], static_cast<int>(loaded.cells.size() * 36 - 36)));
    EXPECT_EQ(std::memcmp(fetch(*second).data(), fresh.data(), fresh.size() * sizeof(LatticeCell)), 0)
        << "a refused lattice must change nothing";
    ASSERT_TRUE(RestoreSimulation(*second, loaded));
    ASSERT_EQ(second->Obstacles().size(), obstacles.size());
    second->Step(500);
    const std::vector<LatticeCell> continued = fetch(*second);

    ASSERT_NE(std::memcmp(saved.cells.data(), expected.data(), expected.size() * sizeof(LatticeCell)), 0)
        << "the flow must still change between step 500 and 1000";
    size_t differing = 0;
    for (size_t n = 0; n < expected.size(); ++n)
        differing += std::memcmp(&expected[n], &continued[n], sizeof(LatticeCell)) != 0;
    EXPECT_EQ(differing, size_t{0}) << "cells that differ after the restart";
}
