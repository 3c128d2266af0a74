#include "app/Parameters.h"
#include "app/ParameterAssignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {
std::vector<std::string> ChainNames(GlobalVariable* head)
{
    std::vector<std::string> names;
    for (GlobalVariable* v = head; v; v = v->GetNext())
        names.emplace_back(v->GetVariableName());
    return names;
}

template <class T>
void Assign(GlobalVariable& v, T value)
{
    v.AssignValue(&value, sizeof value);
}
}  // namespace

TEST(Parameters, ChainRunsFromLastRegisteredToFirst)
{
    const std::vector<std::string> expected = {
        "obstacle|shape", "obstacle|height", "obstacle|width", "view|mode", "view|updateRate",
        "view|brightness", "runtime|collision", "runtime|invViscosity", "init|flowVelY", "init|flowVelX",
        "init|gridHeight", "init|gridWidth", "init|simulationType"};
    EXPECT_EQ(ChainNames(globalVariableChain), expected);
}

TEST(Parameters, DefaultsRangesAndDerivedSteps)
{
    EXPECT_EQ(params::simulationType.Value(), 0);
    EXPECT_STREQ(params::simulationType.Label(0), "GPU");
    EXPECT_STREQ(params::simulationType.Label(1), "CPU");
    EXPECT_EQ(params::gridWidth.Value(), 512);
    EXPECT_EQ(params::gridHeight.Value(), 256);
    EXPECT_EQ(params::gridWidth.Step(), 1);
    EXPECT_EQ(params::flowVelX.Value(), 0.1f);
    EXPECT_EQ(params::flowVelY.Value(), 0.0f);
    EXPECT_EQ(params::invViscosity.Value(), 20.0f);
    EXPECT_EQ(params::brightness.Value(), 1.0f);
    EXPECT_EQ(params::updateRate.Value(), 10);
    EXPECT_EQ(params::viewMode.Value(), 0);
    EXPECT_STREQ(params::viewMode.Label(0), "Velocity");
    EXPECT_STREQ(params::viewMode.Label(3), "Density");
    EXPECT_EQ(params::obstacleWidth.Maximum(), 500);
    EXPECT_EQ(params::obstacleHeight.Maximum(), 100);
    EXPECT_EQ(params::obstacleShape.Value(), 1);
    EXPECT_STREQ(params::obstacleShape.Label(1), "Ellipse");
    EXPECT_EQ(params::collision.Value(), 0);
    EXPECT_STREQ(params::collision.Label(0), "BGK");
    EXPECT_STREQ(params::collision.Label(1), "Smagorinsky");

    EXPECT_EQ(params::flowVelX.Step(), 0.004f);
    EXPECT_EQ(params::flowVelY.Step(), 0.004f);
    EXPECT_EQ(params::brightness.Step(), 0.095f);
    // One unit in the last place below the float nearest 49.9.
    EXPECT_EQ(params::invViscosity.Step(), std::nextafter(49.9f, 0.0f));
    EXPECT_EQ(params::invViscosity.Step(), 49.899998f);
}

TEST(Parameters, DescribeFillsTheRecordOfEachKind)
{
    GLOBAL_VARIABLE_INFO info;
    std::memset(&info, 0xAB, sizeof info);
    params::gridHeight.Describe(&info);
    EXPECT_STREQ(info.name, "init|gridHeight");
    EXPECT_STREQ(info.description, "grid height");
    EXPECT_EQ(info.type, VARKIND_INT);
    EXPECT_EQ(info.modified, 0);
    EXPECT_EQ(info.i.value, 256);
    EXPECT_EQ(info.i.defaultValue, 256);
    EXPECT_EQ(info.i.minimum, 64);
    EXPECT_EQ(info.i.maximum, 1024);
    EXPECT_EQ(info.i.step, 1);
    EXPECT_EQ(info.i.reserved, 0);

    std::memset(&info, 0xAB, sizeof info);
    params::invViscosity.Describe(&info);
    EXPECT_EQ(info.type, VARKIND_FLOAT);
    EXPECT_EQ(info.f.value, 20.0f);
    EXPECT_EQ(info.f.minimum, 10.0f);
    EXPECT_EQ(info.f.maximum, 5000.0f);
    EXPECT_EQ(info.f.step, 49.899998f);
    EXPECT_EQ(info.f.reserved, 0);

    std::memset(&info, 0xAB, sizeof info);
    params::obstacleShape.Describe(&info);
    EXPECT_EQ(info.type, VARKIND_ENUM);
    EXPECT_EQ(info.e.value, 1);
    EXPECT_EQ(info.e.defaultValue, 1);
    ASSERT_EQ(info.e.count, 2u);
    EXPECT_STREQ(info.e.labels[0], "Rect");
    EXPECT_STREQ(info.e.labels[1], "Ellipse");
}

TEST(Parameters, ModifiedFlagFollowsTheValue)
{
    GLOBAL_VARIABLE_INFO info{};
    Assign(params::updateRate, int32_t{11});
    params::updateRate.Describe(&info);
    EXPECT_EQ(info.modified, 1);
    Assign(params::updateRate, int32_t{10});
    params::updateRate.Describe(&info);
    EXPECT_EQ(info.modified, 0);

    Assign(params::brightness, 2.0f);
    params::brightness.Describe(&info);
    EXPECT_EQ(info.modified, 1);
    Assign(params::brightness, 1.0f);
    params::brightness.Describe(&info);
    EXPECT_EQ(info.modified, 0);

    Assign(params::obstacleShape, int32_t{0});
    params::obstacleShape.Describe(&info);
    EXPECT_EQ(info.modified, 1);
    Assign(params::obstacleShape, int32_t{1});
}

TEST(Parameters, AssignValueStoresFourBytesAndIgnoresShortValues)
{
    Assign(params::gridWidth, int32_t{1000});
    EXPECT_EQ(params::gridWidth.Value(), 1000);
    const uint8_t shortValue[3] = {1, 2, 3};
    params::gridWidth.AssignValue(shortValue, 3);
    params::gridWidth.AssignValue(nullptr, 4);
    EXPECT_EQ(params::gridWidth.Value(), 1000);
    // Longer data: the first four bytes count.
    const int32_t longer[2] = {600, 700};
    params::gridWidth.AssignValue(longer, sizeof longer);
    EXPECT_EQ(params::gridWidth.Value(), 600);
    Assign(params::gridWidth, int32_t{512});

    Assign(params::flowVelY, -0.15f);
    EXPECT_EQ(params::flowVelY.Value(), -0.15f);
    params::flowVelY.AssignValue(shortValue, 2);
    EXPECT_EQ(params::flowVelY.Value(), -0.15f);
    Assign(params::flowVelY, 0.0f);
}

// A damaged or hand-written data file must not reach the solvers, and the
// next save must write the value in use, not the one that came in.
TEST(Parameters, AssignValueKeepsEveryKindInsideItsDeclaredRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    GLOBAL_VARIABLE_INFO info{};

    Assign(params::updateRate, int32_t{2000000000});
    EXPECT_EQ(params::updateRate.Value(), 40);
    params::updateRate.Describe(&info);
    EXPECT_EQ(info.i.value, 40);
    Assign(params::updateRate, int32_t{-5});
    EXPECT_EQ(params::updateRate.Value(), 1);
    Assign(params::gridHeight, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(params::gridHeight.Value(), 64);

    Assign(params::invViscosity, 0.0f);
    EXPECT_EQ(params::invViscosity.Value(), 10.0f);
    Assign(params::invViscosity, inf);
    EXPECT_EQ(params::invViscosity.Value(), 5000.0f);
    Assign(params::invViscosity, nan);
    EXPECT_EQ(params::invViscosity.Value(), 20.0f);
    params::invViscosity.Describe(&info);
    EXPECT_EQ(info.modified, 0);
    Assign(params::flowVelX, 5.0f);
    EXPECT_EQ(params::flowVelX.Value(), 0.2f);
    Assign(params::flowVelX, -inf);
    EXPECT_EQ(params::flowVelX.Value(), -0.2f);
    Assign(params::brightness, -1000.0f);
    EXPECT_EQ(params::brightness.Value(), 0.5f);

    Assign(params::obstacleShape, int32_t{0});
    Assign(params::obstacleShape, int32_t{2});
    EXPECT_EQ(params::obstacleShape.Value(), 1);
    Assign(params::simulationType, int32_t{1});
    Assign(params::simulationType, int32_t{-1});
    EXPECT_EQ(params::simulationType.Value(), 0);

    Assign(params::updateRate, int32_t{10});
    Assign(params::gridHeight, int32_t{256});
    Assign(params::flowVelX, 0.1f);
    Assign(params::brightness, 1.0f);
}

namespace {
std::vector<std::string> notified;
void RecordCallback(const char* name) { notified.push_back(std::string("callback ") + name); }
struct RecordingListener : GlobalVariableListener {
    void OnGlobalVariableChanged(const char* name) override { notified.push_back(std::string("listener ") + name); }
};
}  // namespace

TEST(Parameters, CommandLineValuesMatchNamesWithoutCaseAndAreCheckedNotClamped)
{
    const struct {
        const char* text;
        GlobalVariable* variable;
        int32_t intValue;
        float floatValue;
    } accepted[] = {
        {"init|gridWidth=64", &params::gridWidth, 64, 0},
        {"INIT|GRIDHEIGHT = 1024", &params::gridHeight, 1024, 0},
        {"init|simulationType=CPU", &params::simulationType, 1, 0},
        {"init|simulationtype=gpu", &params::simulationType, 0, 0},
        {"obstacle|shape=0", &params::obstacleShape, 0, 0},
        {"init|flowVelX=-0.2", &params::flowVelX, 0, -0.2f},
        {"runtime|invViscosity=1e3", &params::invViscosity, 0, 1000.0f},
    };
    for (const auto& c : accepted) {
        ParameterAssignment a;
        std::string error;
        ASSERT_TRUE(ParseParameterAssignment(c.text, a, &error)) << c.text << ": " << error;
        EXPECT_EQ(a.variable, c.variable) << c.text;
        int32_t i;
        float f;
        std::memcpy(&i, a.bytes, 4);
        std::memcpy(&f, a.bytes, 4);
        if (c.variable == &params::flowVelX || c.variable == &params::invViscosity)
            EXPECT_EQ(f, c.floatValue) << c.text;
        else
            EXPECT_EQ(i, c.intValue) << c.text;
    }
    const struct {
        const char* text;
        const char* mentions;
    } refused[] = {
        {"init|gridWidth", "NAME=VALUE"},
        {"init|gridWdth=100", "unknown parameter"},
        {"init|gridWidth=63", "out of range 64 to 1024"},
        {"init|gridWidth=99999999999", "out of range"},
        {"init|gridWidth=100.5", "whole number"},
        {"init|flowVelX=0.21", "out of range"},
        {"init|flowVelX=nan", "number"},
        {"init|flowVelX=1e39", "out of range"},
        {"init|simulationType=TPU", "GPU or CPU"},
        {"init|simulationType=2", "out of range"},
        {"view|brightness=", "number"},
    };
    for (const auto& c : refused) {
        ParameterAssignment a;
        a.variable = &params::brightness;
        std::string error;
        EXPECT_FALSE(ParseParameterAssignment(c.text, a, &error)) << c.text;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(a.variable, &params::brightness) << "a refused value leaves the result alone";
    }
}

TEST(GlobalVariable, NotifiesCallbackThenListenerAfterStoring)
{
    GlobalVariable* chain = nullptr;
    RecordingListener listener;
    GlobalIntVariable v("a|b", "d", RecordCallback, &listener, 3, 0, 9, 0, &chain);
    EXPECT_EQ(v.Step(), 1);
    notified.clear();
    Assign(v, int32_t{4});
    EXPECT_EQ(v.Value(), 4);
    EXPECT_EQ(notified, (std::vector<std::string>{"callback a|b", "listener a|b"}));
    notified.clear();
    v.AssignValue("x", 1);
    EXPECT_TRUE(notified.empty());

    const int32_t seven = 7;
    v.AssignValueAndDefault(&seven, 4);
    EXPECT_EQ(v.Value(), 7);
    EXPECT_EQ(v.Default(), 7);
    EXPECT_TRUE(notified.empty());
}

TEST(GlobalVariable, DestructionUnlinksInReverseOrder)
{
    GlobalVariable* chain = nullptr;
    {
        GlobalIntVariable first("first", "", nullptr, nullptr, 0, 0, 1, 1, &chain);
        {
            GlobalFloatVariable second("second", "", nullptr, nullptr, 0, 0, 1, 2.5f, &chain);
            EXPECT_EQ(second.Step(), 2.5f);
            {
                GlobalEnumVariable third("third", "", nullptr, nullptr, 0, {"x", nullptr, "ignored"}, &chain);
                EXPECT_EQ(third.LabelCount(), 1u);
                EXPECT_EQ(ChainNames(chain), (std::vector<std::string>{"third", "second", "first"}));
            }
            EXPECT_EQ(chain, &second);
        }
        EXPECT_EQ(ChainNames(chain), std::vector<std::string>{"first"});
    }
    EXPECT_EQ(chain, nullptr);
}

TEST(GlobalVariable, DestroyingANodeInTheMiddleKeepsTheChainIntact)
{
    GlobalVariable* chain = nullptr;
    GlobalIntVariable first("first", "", nullptr, nullptr, 0, 0, 1, 1, &chain);
    auto* middle = new GlobalIntVariable("middle", "", nullptr, nullptr, 0, 0, 1, 1, &chain);
    GlobalIntVariable last("last", "", nullptr, nullptr, 0, 0, 1, 1, &chain);
    delete middle;
    EXPECT_EQ(ChainNames(chain), (std::vector<std::string>{"last", "first"}));
}
