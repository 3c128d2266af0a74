#include "editor/CValueEditor.h"

#include <algorithm>

namespace {
std::vector<ValueEditorRegistration>& Registry()
{
    static std::vector<ValueEditorRegistration> registry;
    return registry;
}
}  // namespace

void RegisterValueEditor(std::initializer_list<int> kinds, ValueEditorFactory factory)
{
    auto& registry = Registry();
    // A kind belongs to its latest registration only.
    for (auto& entry : registry)
        for (int kind : kinds) entry.kinds.erase(std::remove(entry.kinds.begin(), entry.kinds.end(), kind), entry.kinds.end());
    registry.erase(std::remove_if(registry.begin(), registry.end(), [](const auto& e) { return e.kinds.empty(); }),
                   registry.end());
    registry.push_back({std::vector<int>(kinds), std::move(factory)});
}

void ClearValueEditors() { Registry().clear(); }

const std::vector<ValueEditorRegistration>& RegisteredValueEditors() { return Registry(); }
