#include "platform/messages/RegisteredMessage.h"

namespace {

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
    registered_message_detail::Table& table = registered_message_detail::ProcessTable();
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
