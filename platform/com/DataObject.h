// The least of the data-transfer model that the property dialog needs: a
// movable global memory block, the format and medium records, and the
// data-object interface that hands data out in a named clipboard format.
// Blocks live on the C heap, which every module of the process shares, so
// a block made by an attribute server is freed by the component.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"

using HGLOBAL = void*;
using CLIPFORMAT = uint16_t;

inline constexpr uint32_t GMEM_FIXED = 0x0000;
inline constexpr uint32_t GMEM_MOVEABLE = 0x0002;
inline constexpr uint32_t GMEM_ZEROINIT = 0x0040;

namespace global_memory_detail {
// The block's size precedes its bytes.
struct Header {
    size_t size;
    size_t locks;
};
inline Header* Of(HGLOBAL block) { return static_cast<Header*>(block); }
}  // namespace global_memory_detail

inline HGLOBAL GlobalAlloc(uint32_t flags, size_t size)
{
    using global_memory_detail::Header;
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + (size ? size : 1)));
    if (!header)
        return nullptr;
    header->size = size;
    header->locks = 0;
    if (flags & GMEM_ZEROINIT)
        std::memset(header + 1, 0, size);
    return header;
}
inline size_t GlobalSize(HGLOBAL block) { return block ? global_memory_detail::Of(block)->size : 0; }
inline void* GlobalLock(HGLOBAL block)
{
    if (!block)
        return nullptr;
    ++global_memory_detail::Of(block)->locks;
    return global_memory_detail::Of(block) + 1;
}
inline bool GlobalUnlock(HGLOBAL block)
{
    if (!block || global_memory_detail::Of(block)->locks == 0)
        return false;
    return --global_memory_detail::Of(block)->locks != 0;
}
// Null on success: callers test the result against null to detect failure.
inline HGLOBAL GlobalFree(HGLOBAL block)
{
    std::free(block);
    return nullptr;
}

enum TYMED : uint32_t { TYMED_NULL = 0, TYMED_HGLOBAL = 1 };
enum DVASPECT : uint32_t { DVASPECT_CONTENT = 1 };

struct FORMATETC {
    CLIPFORMAT cfFormat;
    void* ptd;
    uint32_t dwAspect;
    int32_t lindex;
    uint32_t tymed;
};

struct STGMEDIUM {
    uint32_t tymed;
    HGLOBAL hGlobal;
    IUnknown* pUnkForRelease;
};

// Frees the block of a medium (or lets its owner do so).
inline void ReleaseStgMedium(STGMEDIUM* medium)
{
    if (!medium)
        return;
    if (medium->pUnkForRelease)
        medium->pUnkForRelease->Release();
    else if (medium->tymed == TYMED_HGLOBAL)
        GlobalFree(medium->hGlobal);
    medium->tymed = TYMED_NULL;
    medium->hGlobal = nullptr;
    medium->pUnkForRelease = nullptr;
}

inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
inline constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);

// Only GetData and QueryGetData are called here; the other methods keep
// their slots so that the table has the documented shape.
struct IDataObject : IUnknown {
    STDMETHOD(GetData)(const FORMATETC* format, STGMEDIUM* medium) = 0;
    STDMETHOD(GetDataHere)(const FORMATETC* format, STGMEDIUM* medium) = 0;
    STDMETHOD(QueryGetData)(const FORMATETC* format) = 0;
    STDMETHOD(GetCanonicalFormatEtc)(const FORMATETC* in, FORMATETC* out) = 0;
    STDMETHOD(SetData)(const FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    STDMETHOD(EnumFormatEtc)(uint32_t direction, void** enumerator) = 0;
    STDMETHOD(DAdvise)(const FORMATETC* format, uint32_t flags, void* sink, uint32_t* connection) = 0;
    STDMETHOD(DUnadvise)(uint32_t connection) = 0;
    STDMETHOD(EnumDAdvise)(void** enumerator) = 0;
};
inline constexpr IID IID_IDataObject = {0x0000010E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
DECLARE_INTERFACE_ID(IDataObject, IID_IDataObject);
using IDataObjectPtr = ComPtr<IDataObject>;
