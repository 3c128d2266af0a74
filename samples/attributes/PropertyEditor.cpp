#include "samples/attributes/PropertyEditor.h"

#include "platform/com/Com.h"
#include "platform/com/DataObject.h"
#include "platform/messages/RegisteredMessage.h"
#include "samples/attributes/PropertyGrid.h"

CPropertyEditor::~CPropertyEditor()
{
    if (grid)
        grid->SetEditor(nullptr);
}

HWND CPropertyEditor::Create(HWND parent, const RECT* rectangle, IUnknown* object, IPropertyChangedEvent* sink_,
                             int32_t)
{
    if (!parent || !object || grid)
        return nullptr;
    if (FAILED(object->QueryInterface(IID_IPropertyTable, table.AsOut())) || !table)
        return nullptr;
    sink = IPropertyChangedEventPtr(sink_);
    grid = new CPropertyGrid(parent);
    if (rectangle)
        grid->setGeometry(rectangle->left, rectangle->top, rectangle->right - rectangle->left,
                          rectangle->bottom - rectangle->top);
    AttributeList properties;
    for (int32_t i = 0; i < table->GetCount(); ++i) {
        BSTR name = nullptr, value = nullptr;
        table->GetName(i, &name);
        table->GetValue(i, &value);
        const ComBstr n = ComBstr::Attach(name), v = ComBstr::Attach(value);
        properties.emplace_back(name ? WideToUtf8(name) : "", value ? WideToUtf8(value) : "");
    }
    Fill(properties);
    grid->SetEditor(this);
    grid->show();
    return grid;
}

void CPropertyEditor::Fill(const AttributeList& properties)
{
    if (!grid)
        return;
    const QSignalBlocker quiet(grid.data());
    grid->setRowCount(static_cast<int>(properties.size()));
    for (size_t i = 0; i < properties.size(); ++i) {
        auto* name = new QTableWidgetItem(QString::fromStdString(properties[i].first));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        grid->setItem(static_cast<int>(i), 0, name);
        grid->setItem(static_cast<int>(i), 1, new QTableWidgetItem(QString::fromStdString(properties[i].second)));
    }
}

int32_t CPropertyEditor::SetDataObject(IUnknown* dataObject)
{
    IDataObjectPtr data;
    if (!dataObject || FAILED(dataObject->QueryInterface(IID_IDataObject, data.AsOut())) || !data)
        return 0;
    FORMATETC wanted = {static_cast<CLIPFORMAT>(RegisterClipboardFormat(kAttributeFormatName)), nullptr,
                        DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {TYMED_NULL, nullptr, nullptr};
    if (FAILED(data->GetData(&wanted, &medium)))
        return 0;
    auto properties = DecodeAttributes(static_cast<const uint8_t*>(GlobalLock(medium.hGlobal)),
                                       GlobalSize(medium.hGlobal));
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    if (!properties)
        return 0;
    Fill(*properties);
    return 1;
}

int32_t CPropertyEditor::GetProperties(IAttributes* attributes)
{
    if (!attributes || !grid)
        return 0;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QTableWidgetItem* name = grid->item(row, 0);
        const QTableWidgetItem* value = grid->item(row, 1);
        if (!name)
            continue;
        ComVariant key = ComVariant::FromString(Utf8ToWide(name->text().toStdString()).c_str());
        ComVariant text = ComVariant::FromString(Utf8ToWide(value ? value->text().toStdString() : "").c_str());
        if (FAILED(attributes->SetAttribute(&key, &text)))
            return 0;
    }
    return 1;
}

void CPropertyEditor::On_ValueChanged(int row)
{
    const QTableWidgetItem* name = grid ? grid->item(row, 0) : nullptr;
    const QTableWidgetItem* value = grid ? grid->item(row, 1) : nullptr;
    if (!name || !value)
        return;
    if (table)
        table->SetValue(Utf8ToWide(name->text().toStdString()).c_str(),
                        Utf8ToWide(value->text().toStdString()).c_str());
    // The sink may be the last holder of the dialog: keep ourselves alive.
    AddRef();
    if (sink)
        sink->OnPropertyChanged();
    Release();
}
