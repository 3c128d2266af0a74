// The variables the demo client hands to the component: two lists with
// variables of every kind in nested groups.
#pragma once

#include "demo/DemoList.h"

// List ids of the two demo lists.
inline constexpr GUID kSceneListId = {0x5D1E6A10, 0x2C4B, 0x4F3A, {0x9A, 0x61, 0x0B, 0x7E, 0x41, 0xC2, 0x88, 0x01}};
inline constexpr GUID kRenderListId = {0x5D1E6A10, 0x2C4B, 0x4F3A, {0x9A, 0x61, 0x0B, 0x7E, 0x41, 0xC2, 0x88, 0x02}};

// "Scene": every kind, groups two and three levels deep.
DemoList* CreateSceneList();
// "Render": a second list with its own groups.
DemoList* CreateRenderList();

// A short text of value bytes of a kind, as the demo shows what it receives.
std::string DescribeValue(int kind, const void* bytes, unsigned length);
