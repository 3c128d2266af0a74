// The per-list value store: routing to the client, replay on attach, and the
// record parser it loads data files with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "storage/DataRecordReader.h"
#include "storage/VariableList.h"

namespace {

struct Seen {
    std::string name;
    std::vector<uint8_t> bytes;
    bool nullBytes;
};

struct Client {
    std::vector<Seen> seen;
    int32_t result = 7;
    static int32_t Callback(const char* name, const void* bytes, unsigned length, void* context)
    {
        auto* self = static_cast<Client*>(context);
        const auto* b = static_cast<const uint8_t*>(bytes);
        self->seen.push_back({name, b ? std::vector<uint8_t>(b, b + length) : std::vector<uint8_t>{}, b == nullptr});
        return self->result;
    }
};

// One record in the data-file layout.
std::vector<uint8_t> Record(const std::string& name, const std::vector<uint8_t>& value)
{
    std::vector<uint8_t> out(name.begin(), name.end());
    out.push_back(0);
    const uint32_t n = static_cast<uint32_t>(value.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(VariableList, SetDataWithoutClientStoresAndReturnsZero)
{
    CVariableList list;
    const int32_t v = 3;
    EXPECT_EQ(list.SetData("a|b", &v, 4), 0);
    ASSERT_EQ(list.GetValues().count("a|b"), 1u);
    EXPECT_EQ(list.GetValues().at("a|b").size(), 4u);
}

TEST(VariableList, ClientGetsCallersBytesAndItsResultIsReturned)
{
    CVariableList list;
    Client client;
    list.SetClient(&Client::Callback, &client);
    EXPECT_TRUE(client.seen.empty());
    const uint8_t bytes[] = {1, 2, 3};
    EXPECT_EQ(list.SetData("x", bytes, 3), 7);
    ASSERT_EQ(client.seen.size(), 1u);
    EXPECT_EQ(client.seen[0].bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(VariableList, LateClientReceivesStoredValuesInByteOrder)
{
    CVariableList list;
    const uint8_t one = 1, two = 2, three = 3;
    list.SetData("b", &one, 1);
    list.SetData("B", &two, 1);  // case matters: a second entry, sorting first
    list.SetData("a", nullptr, 0);
    list.SetData("b", &three, 1);  // replaces
    EXPECT_EQ(list.GetValues().size(), 3u);

    Client client;
    list.SetClient(&Client::Callback, &client);
    ASSERT_EQ(client.seen.size(), 3u);
    EXPECT_EQ(client.seen[0].name, "B");
    EXPECT_EQ(client.seen[1].name, "a");
    EXPECT_TRUE(client.seen[1].nullBytes);  // an empty value travels as null and 0
    EXPECT_EQ(client.seen[2].name, "b");
    EXPECT_EQ(client.seen[2].bytes, std::vector<uint8_t>{3});
}

TEST(VariableList, DropKeepsValuesAndANewClientGetsThemAll)
{
    CVariableList list;
    Client first, second;
    list.SetClient(&Client::Callback, &first);
    const uint8_t v = 9;
    list.SetData("kept", &v, 1);
    list.DropClient();
    EXPECT_EQ(list.SetData("meanwhile", &v, 1), 0);
    EXPECT_EQ(first.seen.size(), 1u);
    list.SetClient(&Client::Callback, &second);
    ASSERT_EQ(second.seen.size(), 2u);
    EXPECT_EQ(second.seen[0].name, "kept");
    EXPECT_EQ(second.seen[1].name, "meanwhile");

    list.Clear();
    EXPECT_TRUE(list.GetValues().empty());
    EXPECT_TRUE(list.HasClient());
}

TEST(VariableList, ClientThatClearsDuringReplayEndsItSafely)
{
    static CVariableList* target;
    CVariableList list;
    target = &list;
    const uint8_t v = 1;
    list.SetData("a", &v, 1);
    list.SetData("b", &v, 1);
    int calls = 0;
    auto clearing = [](const char*, const void*, unsigned, void* context) -> int32_t {
        ++*static_cast<int*>(context);
        target->Clear();
        return 0;
    };
    list.SetClient(clearing, &calls);
    EXPECT_EQ(calls, 1);
}

TEST(VariableList, ClientThatStoresALongerValueDuringReplayReadsWhatItWasGiven)
{
    static CVariableList* target;
    CVariableList list;
    target = &list;
    const std::vector<uint8_t> saved(16, 0x5A);
    list.SetData("a", saved.data(), static_cast<unsigned>(saved.size()));
    std::vector<uint8_t> replayed;
    auto rewriting = [](const char* name, const void* bytes, unsigned length, void* context) -> int32_t {
        if (length > 16) return 0;  // the rewrite coming back
        const std::vector<uint8_t> longer(4096, 0x11);
        target->SetData(name, longer.data(), static_cast<unsigned>(longer.size()));
        const auto* b = static_cast<const uint8_t*>(bytes);
        static_cast<std::vector<uint8_t>*>(context)->assign(b, b + length);
        return 0;
    };
    list.SetClient(rewriting, &replayed);
    EXPECT_EQ(replayed, saved);
    EXPECT_EQ(list.GetValues().at("a").size(), 4096u);
}

TEST(VariableList, LoadFeedsRecordsInFileOrder)
{
    CVariableList list;
    Client client;
    list.SetClient(&Client::Callback, &client);
    const auto data = Cat({Record("z", {1}), Record("a|s", {'a', 'b', 'c', 0}), Record("e", {})});
    EXPECT_TRUE(list.Load(data.data(), data.size()));
    ASSERT_EQ(client.seen.size(), 3u);
    EXPECT_EQ(client.seen[0].name, "z");
    EXPECT_EQ(client.seen[1].bytes, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
    EXPECT_EQ(client.seen[2].bytes.size(), 0u);
}

TEST(VariableList, DamagedTailKeepsTheRecordsBefore)
{
    const auto good = Cat({Record("one", {1, 2}), Record("two", {3})});
    struct Case {
        const char* what;
        std::vector<uint8_t> tail;
    };
    std::vector<uint8_t> beyond = Record("three", {4, 5});
    beyond[6] = 0xFF;  // length far beyond the end
    beyond[9] = 0x7F;
    std::vector<uint8_t> cutValue = Record("three", {4, 5, 6});
    cutValue.pop_back();
    const Case cases[] = {
        {"name without its zero", {'t', 'h', 'r'}},
        {"length cut short", {'t', 0, 2, 0}},
        {"length beyond the end", beyond},
        {"value cut short", cutValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Exactly sized heap copy: a read past it is caught by the sanitizers.
        const auto data = Cat({good, c.tail});
        std::vector<uint8_t> exact(data);
        exact.shrink_to_fit();
        CVariableList list;
        EXPECT_FALSE(list.Load(exact.data(), exact.size()));
        ASSERT_EQ(list.GetValues().size(), 2u);
        EXPECT_EQ(list.GetValues().at("one"), (std::vector<uint8_t>{1, 2}));
        EXPECT_EQ(list.GetValues().at("two"), std::vector<uint8_t>{3});
    }
}

TEST(DataRecordReader, EmptyAndNullData)
{
    int n = 0;
    auto count = [&](const char*, const uint8_t*, uint32_t) { ++n; };
    EXPECT_TRUE(ReadDataRecords(nullptr, 0, count));
    EXPECT_FALSE(ReadDataRecords(nullptr, 5, count));
    const uint8_t zero[1] = {0};
    EXPECT_FALSE(ReadDataRecords(zero, 1, count));
    const auto emptyName = Record("", {8});
    EXPECT_TRUE(ReadDataRecords(emptyName.data(), emptyName.size(), count));
    EXPECT_EQ(n, 1);
}
