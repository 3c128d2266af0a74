#include "platform/messages/RegisteredMessage.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace {

struct MessageTable {
    std::mutex lock;
    std::unordered_map<std::string, UINT> numbers;
    UINT next = kFirstRegisteredMessage;
};

// One table per process: this library is a shared object that every module
// (the component, an attribute server, a program) loads once, so the numbers
// agree across modules even when each hides its own symbols.
MessageTable& ProcessTable()
{
    static MessageTable table;
    return table;
}

std::string FoldCase(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace

UINT RegisterWindowMessage(std::string_view name)
{
    if (name.empty())
        return 0;
    MessageTable& table = ProcessTable();
    std::lock_guard guard(table.lock);
    std::string key = FoldCase(name);
    if (auto found = table.numbers.find(key); found != table.numbers.end())
        return found->second;
    if (table.next > kLastRegisteredMessage)
        return 0;
    UINT number = table.next++;
    table.numbers.emplace(std::move(key), number);
    return number;
}
