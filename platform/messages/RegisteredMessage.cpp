#include "platform/messages/RegisteredMessage.h"

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/text/AsciiCase.h"

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

}  // namespace

UINT RegisterWindowMessage(std::string_view name)
{
    if (name.empty())
        return 0;
    MessageTable& table = ProcessTable();
    std::lock_guard guard(table.lock);
    std::string key = LowerAscii(name);
    if (auto found = table.numbers.find(key); found != table.numbers.end())
        return found->second;
    if (table.next > kLastRegisteredMessage)
        return 0;
    UINT number = table.next++;
    table.numbers.emplace(std::move(key), number);
    return number;
}
