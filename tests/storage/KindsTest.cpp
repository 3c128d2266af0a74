// The variable kinds: texts, default comparison, value bytes and listeners.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "storage/ColorRGBSplineVar.h"
#include "storage/ColorRGBVar.h"
#include "storage/DblVar.h"
#include "storage/EnumVar.h"
#include "storage/FltVar.h"
#include "storage/IntVar.h"
#include "storage/PropsVar.h"
#include "storage/Spline2DVar.h"
#include "storage/StrVar.h"
#include "storage/VarFactory.h"
#include "storage/api/Attributes.h"

namespace {

constexpr GUID kList = {0x11223344, 0x5566, 0x7788, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Call {
    std::string who;
    GUID list;
    std::string name;
    std::vector<uint8_t> bytes;
    unsigned length;
};

// Records every notification, tagged with the listener's name, into a shared log.
class Recorder : public CVar::Event {
public:
    Recorder(std::string tag, std::vector<Call>& log) : tag(std::move(tag)), log(log) {}
    void OnVarChanged(const GUID& list, const char* name, const void* bytes, unsigned length) override
    {
        const auto* b = static_cast<const uint8_t*>(bytes);
        log.push_back({tag, list, name, b ? std::vector<uint8_t>(b, b + length) : std::vector<uint8_t>{}, length});
    }

private:
    std::string tag;
    std::vector<Call>& log;
};

// Takes ownership of a malloc block handed out by GetValue.
struct Block {
    void* bytes = nullptr;
    unsigned length = 0;
    ~Block() { std::free(bytes); }
    std::vector<uint8_t> Vec() const
    {
        const auto* b = static_cast<const uint8_t*>(bytes);
        return b ? std::vector<uint8_t>(b, b + length) : std::vector<uint8_t>{};
    }
};

template <class T>
std::vector<uint8_t> BytesOf(const T& v)
{
    std::vector<uint8_t> out(sizeof v);
    std::memcpy(out.data(), &v, sizeof v);
    return out;
}

GLOBAL_VARIABLE_INFO Info(int32_t type, const char* name = "group|var")
{
    GLOBAL_VARIABLE_INFO info;
    std::memset(&info, 0, sizeof info);
    info.name = name;
    info.type = type;
    info.description = "a description";
    return info;
}

GLOBAL_VARIABLE_INFO IntInfo(int value, int def)
{
    auto info = Info(VARKIND_INT);
    info.i = {value, def, -100, 100, 1, 0};
    return info;
}

}  // namespace

TEST(Kinds, TextsOfEachScalarKind)
{
    auto f = Info(VARKIND_FLOAT);
    f.f = {0.5f, 0.0f, 0.0f, 1.0f, 0.1f, 0};
    EXPECT_STREQ(CFltVar(f).AsString(), "0.500000");

    auto c = Info(VARKIND_COLORRGB);
    c.rgb = {{255, 0, 128}, {0, 0, 0}};
    EXPECT_STREQ(CColorRGBVar(c).AsString(), "255-0-128");

    EXPECT_STREQ(CIntVar(IntInfo(-7, 0)).AsString(), "-7");

    auto d = Info(VARKIND_DOUBLE);
    d.d = {-2.25, 0, 0, 0, 0, 0};
    EXPECT_STREQ(CDblVar(d).AsString(), "-2.250000");
    d.d.value = 1e300;  // "%f" of a huge number has 301 digits before the point
    CDblVar huge(d);
    EXPECT_EQ(std::strlen(huge.AsString()), 301u + 7u);

    auto s = Info(VARKIND_STRING);
    s.str = {"abc", "def"};
    EXPECT_STREQ(CStrVar(s).AsString(), "abc");

    const char* labels[] = {"x", "y"};
    auto e = Info(VARKIND_ENUM);
    e.e = {1, 0, 2, labels};
    EXPECT_STREQ(CEnumVar(e).AsString(), "y");

    auto sp = Info(VARKIND_SPLINE2D);
    EXPECT_STREQ(CSpline2DVar(sp).AsString(), "Click here to start edit");
    EXPECT_STREQ(CPropsVar(Info(VARKIND_PROPS)).AsString(), "Click here to start edit");
}

TEST(Kinds, NamesAndNullTextsAreCopied)
{
    std::string name = "a|b|c";
    auto info = Info(VARKIND_STRING, name.c_str());
    info.description = nullptr;
    info.str = {nullptr, nullptr};
    CStrVar var(info);
    name[0] = 'z';  // the record's texts need not outlive the constructor
    EXPECT_STREQ(var.GetName(), "a|b|c");
    EXPECT_STREQ(var.GetDescription(), "");
    EXPECT_STREQ(var.AsString(), "");
    EXPECT_TRUE(var.IsDefault());
    EXPECT_EQ(var.GetType(), VARKIND_STRING);
}

TEST(Kinds, IsDefaultRules)
{
    auto s = Info(VARKIND_STRING);
    s.str = {"ABC", "abc"};
    EXPECT_FALSE(CStrVar(s).IsDefault());
    s.str = {"abc", "abc"};
    EXPECT_TRUE(CStrVar(s).IsDefault());

    auto f = Info(VARKIND_FLOAT);
    f.f.value = f.f.defaultValue = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(CFltVar(f).IsDefault());
    auto d = Info(VARKIND_DOUBLE);
    d.d.value = d.d.defaultValue = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(CDblVar(d).IsDefault());

    auto c = Info(VARKIND_COLORRGB);
    c.rgb = {{1, 2, 3}, {1, 2, 4}};
    EXPECT_FALSE(CColorRGBVar(c).IsDefault());

    SPLINE2D_POINT pts[2] = {{0, 0, 1, 0}, {1, 1, 1, 0}};
    SPLINE2D_POINT swapped[2] = {pts[1], pts[0]};
    auto sp = Info(VARKIND_SPLINE2D);
    sp.spline.count = 2;
    sp.spline.points = pts;
    sp.spline.defaultCount = 2;
    sp.spline.defaultPoints = pts;
    EXPECT_TRUE(CSpline2DVar(sp).IsDefault());
    sp.spline.points = swapped;
    EXPECT_FALSE(CSpline2DVar(sp).IsDefault());
    sp.spline.count = 0;
    sp.spline.defaultCount = 0;
    EXPECT_TRUE(CSpline2DVar(sp).IsDefault());

    EXPECT_TRUE(CPropsVar(Info(VARKIND_PROPS)).IsDefault());
}

TEST(Kinds, ValueBytesByteForByte)
{
    auto s = Info(VARKIND_STRING);
    s.str = {"abc", ""};
    CStrVar str(s);
    Block b;
    str.GetValue(&b.bytes, &b.length);
    EXPECT_EQ(b.Vec(), (std::vector<uint8_t>{'a', 'b', 'c', 0}));
    Block bd;
    str.GetDefaultValue(&bd.bytes, &bd.length);
    EXPECT_EQ(bd.Vec(), (std::vector<uint8_t>{0}));

    const char* labels[] = {"x", "y"};
    auto e = Info(VARKIND_ENUM);
    e.e = {0, 1, 2, labels};
    CEnumVar en(e);
    Block ev, ed;
    en.GetValue(&ev.bytes, &ev.length);
    en.GetDefaultValue(&ed.bytes, &ed.length);
    EXPECT_EQ(ev.Vec(), BytesOf<int32_t>(0));
    EXPECT_EQ(ed.Vec(), (std::vector<uint8_t>{'y', 0}));

    Block iv;
    CIntVar(IntInfo(0x01020304, 0)).GetValue(&iv.bytes, &iv.length);
    EXPECT_EQ(iv.Vec(), (std::vector<uint8_t>{4, 3, 2, 1}));

    auto d = Info(VARKIND_DOUBLE);
    d.d.value = 1.0;
    Block dv;
    CDblVar(d).GetValue(&dv.bytes, &dv.length);
    EXPECT_EQ(dv.Vec(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

    auto f = Info(VARKIND_FLOAT);
    f.f.value = 1.0f;
    Block fv;
    CFltVar(f).GetValue(&fv.bytes, &fv.length);
    EXPECT_EQ(fv.Vec(), (std::vector<uint8_t>{0, 0, 0x80, 0x3F}));

    auto c = Info(VARKIND_COLORRGB);
    c.rgb = {{9, 8, 7}, {1, 2, 3}};
    Block cv, cd;
    CColorRGBVar col(c);
    col.GetValue(&cv.bytes, &cv.length);
    col.GetDefaultValue(&cd.bytes, &cd.length);
    EXPECT_EQ(cv.Vec(), (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(cd.Vec(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(col()[2], 7);

    COLORRGBSPLINE_POINT ramp[3] = {{0, 1, 0, 0}, {0.5, 0, 1, 0}, {1, 0, 0, 1}};
    auto cs = Info(VARKIND_COLORRGBSPLINE);
    cs.colorSpline.count = 3;
    cs.colorSpline.points = ramp;
    Block rv;
    CColorRGBSplineVar(cs).GetValue(&rv.bytes, &rv.length);
    ASSERT_EQ(rv.length, 96u);
    EXPECT_EQ(std::memcmp(rv.bytes, ramp, 96), 0);

    uint8_t props[] = {1, 2, 3, 4, 5};
    auto p = Info(VARKIND_PROPS);
    p.props.itemName = "item";
    p.props.bytes = props;
    p.props.length = 5;
    CPropsVar pv(p);
    Block pb, pd;
    pv.GetValue(&pb.bytes, &pb.length);
    pv.GetDefaultValue(&pd.bytes, &pd.length);
    EXPECT_EQ(pb.Vec(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(pd.bytes, nullptr);
    EXPECT_EQ(pd.length, 0u);
    EXPECT_STREQ(pv.GetItemName(), "item");
    EXPECT_FALSE(pv.IsDefault());
}

TEST(Kinds, ListenersInOrderWithCallersBytes)
{
    std::vector<Call> log;
    Recorder editor("editor", log), tree("tree", log);
    CIntVar var(IntInfo(5, 1));
    var.Init(kList, &editor);
    var.Subscribe(&tree);

    const int32_t same = 5;
    var.SetValue(&same, sizeof same);  // an equal value notifies too
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].who, "editor");
    EXPECT_EQ(log[1].who, "tree");
    EXPECT_TRUE(log[0].list == kList);
    EXPECT_EQ(log[0].name, "group|var");
    EXPECT_EQ(log[0].bytes, BytesOf<int32_t>(5));

    log.clear();
    const int32_t wide[2] = {250, 77};  // no clamping, and the length passes unchanged
    var.SetValue(wide, sizeof wide);
    EXPECT_EQ(var.GetValue(), 250);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].length, 8u);

    log.clear();
    var.SetDefault();
    EXPECT_EQ(var.GetValue(), 1);
    EXPECT_TRUE(var.IsDefault());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].bytes, BytesOf<int32_t>(1));
}

TEST(Kinds, SetDefaultNotifiesWithTheDefaultBytes)
{
    std::vector<Call> log;
    Recorder r("r", log);

    auto s = Info(VARKIND_STRING);
    s.str = {"value", "dflt"};
    CStrVar str(s);
    str.Init(kList, &r);
    str.SetDefault();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].bytes, (std::vector<uint8_t>{'d', 'f', 'l', 't', 0}));
    EXPECT_STREQ(str.AsString(), "dflt");

    log.clear();
    uint8_t props[] = {7};
    auto p = Info(VARKIND_PROPS);
    p.props.bytes = props;
    p.props.length = 1;
    CPropsVar pv(p);
    pv.Init(kList, &r);
    pv.SetDefault();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].length, 0u);
    EXPECT_TRUE(pv.IsDefault());

    log.clear();
    SPLINE2D_POINT def[1] = {{3, 4, 1, 0}};
    auto sp = Info(VARKIND_SPLINE2D);
    sp.spline.defaultCount = 1;
    sp.spline.defaultPoints = def;
    CSpline2DVar spline(sp);
    spline.Init(kList, &r);
    EXPECT_FALSE(spline.IsDefault());
    spline.SetDefault();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].length, 32u);
    EXPECT_TRUE(spline.IsDefault());
}

TEST(Kinds, SplineStoresWholeRecordsOnly)
{
    std::vector<Call> log;
    Recorder r("r", log);
    auto sp = Info(VARKIND_SPLINE2D);
    sp.spline.lower = {-1, -2, 0, 0};
    sp.spline.upper = {3, 4, 0, 0};
    CSpline2DVar spline(sp);
    spline.Init(kList, &r);
    EXPECT_EQ(spline.GetMinX(), -1);
    EXPECT_EQ(spline.GetMaxY(), 4);

    uint8_t bytes[70];
    for (int i = 0; i < 70; ++i) bytes[i] = static_cast<uint8_t>(i);
    spline.SetValue(bytes, 70);
    EXPECT_EQ(spline.GetPoints().size(), 2u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].length, 70u);
    Block v;
    spline.GetValue(&v.bytes, &v.length);
    ASSERT_EQ(v.length, 64u);
    EXPECT_EQ(std::memcmp(v.bytes, bytes, 64), 0);
}

TEST(Kinds, RecordOfAnotherKindLeavesTheKindDataEmpty)
{
    auto sp = Info(VARKIND_COLORRGBSPLINE);
    SPLINE2D_POINT pts[1] = {{1, 2, 3, 4}};
    sp.spline.count = 1;
    sp.spline.points = pts;
    EXPECT_TRUE(CSpline2DVar(sp).GetPoints().empty());

    auto s = Info(VARKIND_INT);
    s.i.value = 1234;  // read as a text pointer this would crash
    EXPECT_STREQ(CStrVar(s).AsString(), "");

    auto neg = Info(VARKIND_SPLINE2D);
    neg.spline.count = -5;
    neg.spline.points = pts;
    EXPECT_TRUE(CSpline2DVar(neg).GetPoints().empty());
}

TEST(Kinds, StringNeverReadsPastTheLength)
{
    std::vector<Call> log;
    Recorder r("r", log);
    auto s = Info(VARKIND_STRING);
    CStrVar str(s);
    str.Init(kList, &r);

    // Heap block of exactly three bytes without a zero: the sanitizers
    // catch a read of the fourth.
    auto* raw = static_cast<char*>(std::malloc(3));
    std::memcpy(raw, "xyz", 3);
    str.SetValue(raw, 3);
    std::free(raw);
    EXPECT_STREQ(str.AsString(), "xyz");

    const char withZero[] = {'a', 0, 'b', 'c'};
    str.SetValue(withZero, 4);
    EXPECT_STREQ(str.AsString(), "a");
    EXPECT_EQ(log.back().length, 4u);

    str.SetValue(nullptr, 0);
    EXPECT_STREQ(str.AsString(), "");
    Block b;
    str.GetValue(&b.bytes, &b.length);
    EXPECT_EQ(b.Vec(), (std::vector<uint8_t>{0}));
}

TEST(Kinds, EnumOutsideItsLabelsIsSafe)
{
    const char* labels[] = {"x", "y"};
    auto e = Info(VARKIND_ENUM);
    e.e = {0, 5, 2, labels};
    CEnumVar en(e);
    EXPECT_EQ(en.GetCount(), 2);
    EXPECT_STREQ(en.GetLabel(1), "y");
    EXPECT_EQ(en.GetLabel(2), nullptr);
    EXPECT_EQ(en.GetLabel(-1), nullptr);

    const int32_t far = 9;
    en.SetValue(&far, 4);
    EXPECT_STREQ(en.AsString(), "<invalid 9>");
    const int32_t negative = -1;
    en.SetValue(&negative, 4);
    EXPECT_STREQ(en.AsString(), "<invalid -1>");

    Block d;  // default index 5 has no label
    en.GetDefaultValue(&d.bytes, &d.length);
    EXPECT_EQ(d.Vec(), (std::vector<uint8_t>{0}));

    e.e.labels = nullptr;  // a count without labels counts as none
    EXPECT_EQ(CEnumVar(e).GetCount(), 0);
}

TEST(Kinds, ShortBlocksLeaveScalarsAsTheyAre)
{
    CIntVar var(IntInfo(42, 0));
    const uint8_t two[2] = {1, 1};
    var.SetValue(two, 2);
    EXPECT_EQ(var.GetValue(), 42);
    var.SetValue(nullptr, 4);
    EXPECT_EQ(var.GetValue(), 42);

    auto c = Info(VARKIND_COLORRGB);
    c.rgb = {{1, 2, 3}, {0, 0, 0}};
    CColorRGBVar col(c);
    col.SetValue(two, 2);
    EXPECT_STREQ(col.AsString(), "1-2-3");
}

TEST(Kinds, FactoryPicksTheClassByKind)
{
    EXPECT_NE(dynamic_cast<CStrVar*>(CreateVar(Info(VARKIND_STRING)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CIntVar*>(CreateVar(Info(VARKIND_INT)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CEnumVar*>(CreateVar(Info(VARKIND_ENUM)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CDblVar*>(CreateVar(Info(VARKIND_DOUBLE)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CFltVar*>(CreateVar(Info(VARKIND_FLOAT)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CSpline2DVar*>(CreateVar(Info(VARKIND_SPLINE2D)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CColorRGBVar*>(CreateVar(Info(VARKIND_COLORRGB)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CPropsVar*>(CreateVar(Info(VARKIND_PROPS)).get()), nullptr);
    EXPECT_NE(dynamic_cast<CColorRGBSplineVar*>(CreateVar(Info(VARKIND_COLORRGBSPLINE)).get()), nullptr);
    EXPECT_EQ(CreateVar(Info(9)), nullptr);
    EXPECT_EQ(CreateVar(Info(-1)), nullptr);
}

TEST(Kinds, PropsStreamOfAnUnregisteredClassIsFalse)
{
    auto p = Info(VARKIND_PROPS);
    p.props.clsid = {0xDEADBEEF, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    p.props.itemName = "item";
    CPropsVar var(p);
    IDataStorageStream* stream = reinterpret_cast<IDataStorageStream*>(1);
    EXPECT_FALSE(var.GetStream(&stream));
    EXPECT_EQ(stream, nullptr);
    EXPECT_FALSE(var.GetStream(nullptr));
}
