// The property editor: shows an item's properties as a table of names and
// values, lets the user edit the values, writes each edit to the item and
// reports it to the dialog's sink.
#pragma once

#include <QPointer>

#include "samples/attributes/AttributeData.h"
#include "samples/attributes/SampleObject.h"
#include "samples/attributes/SampleIds.h"
#include "storage/api/PropertyEditorApi.h"

class CPropertyGrid;

class CPropertyEditor final : public SampleObject<IPropertyEditor> {
public:
    CPropertyEditor() = default;

    STDMETHOD_(HWND, Create)(HWND parent, const RECT* rectangle, IUnknown* object, IPropertyChangedEvent* sink,
                             int32_t options) override;
    STDMETHOD_(int32_t, SetDataObject)(IUnknown* dataObject) override;
    STDMETHOD_(int32_t, GetProperties)(IAttributes* attributes) override;

    // A value was edited in the table.
    void On_ValueChanged(int row);

private:
    ~CPropertyEditor() override;
    void Fill(const AttributeList& properties);

    QPointer<CPropertyGrid> grid;
    IPropertyTablePtr table;
    IPropertyChangedEventPtr sink;
};
