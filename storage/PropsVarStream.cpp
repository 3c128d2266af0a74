// The property-set kind's path to its outside attribute component.
#include "platform/com/Com.h"
#include "storage/PropsVar.h"
#include "storage/api/Attributes.h"

bool CPropsVar::GetStream(IDataStorageStream** stream) const
{
    if (!stream) return false;
    *stream = nullptr;

    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.AsOut())) || !unknown)
        return false;
    if (FAILED(OleRun(unknown.Get()))) return false;
    IAttributesPtr attributes;
    if (FAILED(unknown.As(attributes)) || !attributes) return false;

    ComVariant name = ComVariant::FromString(Utf8ToWide(itemName).c_str());
    ComVariant result;
    if (FAILED(attributes->GetAttribute(&name, &result))) return false;
    IUnknown* object = nullptr;
    if (result.vt == VT_UNKNOWN) object = result.punkVal;
    else if (result.vt == VT_DISPATCH) object = result.pdispVal;
    if (!object) return false;

    void* found = nullptr;
    if (FAILED(object->QueryInterface(IID_IDataStorageStream, &found)) || !found) return false;
    *stream = static_cast<IDataStorageStream*>(found);
    return true;
}
