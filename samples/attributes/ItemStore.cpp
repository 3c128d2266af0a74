#include "samples/attributes/ItemStore.h"

#include <map>

AttributeList& ItemProperties(const std::string& itemName)
{
    static std::map<std::string, AttributeList> items;
    auto found = items.find(itemName);
    if (found == items.end())
        found = items.emplace(itemName, AttributeList{{"name", itemName}, {"colour", "255-255-255"},
                                                      {"roughness", "0.5"}})
                    .first;
    return found->second;
}

void SetItemProperty(const std::string& itemName, const std::string& name, const std::string& value)
{
    AttributeList& properties = ItemProperties(itemName);
    for (auto& entry : properties)
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    properties.emplace_back(name, value);
}
