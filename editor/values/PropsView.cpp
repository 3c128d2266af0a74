#include "editor/values/PropsView.h"

#include <QCloseEvent>
#include <QFontMetrics>

#include "platform/com/Com.h"
#include "platform/com/ComObject.h"
#include "platform/com/DataObject.h"
#include "platform/messages/RegisteredMessage.h"
#include "storage/PropsVar.h"

// The dialog's sink.  The editor may keep it after the dialog has gone, so
// it outlives the dialog and is cut off from it when the dialog dies.
class CPropsView::CEvent final : public ComObject<IPropertyChangedEvent> {
public:
    explicit CEvent(CPropsView* view) : view(view) {}

    STDMETHOD_(int32_t, OnPropertyChanged)() override
    {
        if (!view)
            return 0;
        view->OnPropertyChanged();
        return 1;
    }

    CPropsView* view;

private:
    ~CEvent() override = default;
};

CPropsView::CPropsView(CPropsVar* variable_, QWidget* owner) : QDialog(owner), variable(variable_)
{
    setWindowTitle(QStringLiteral("Props Editor"));
    setSizeGripEnabled(true);
    // Dialog units of the dialog's font: a quarter of the average character
    // width across, an eighth of the character height down.
    const QFontMetrics metrics(font());
    resize(kWidthUnits * metrics.averageCharWidth() / 4, kHeightUnits * metrics.height() / 8);

    if (FAILED(CoCreateInstance(CLSID_PropertyEditor, nullptr, CLSCTX_ALL, IID_IPropertyEditor, editor.AsOut())))
        editor = nullptr;
    On_InitDialog();
}

CPropsView::~CPropsView()
{
    // The editor's window is the editor's code: it goes before the editor.
    delete editorWindow.data();
    if (sink) {
        sink->view = nullptr;
        sink->Release();
    }
    editor = nullptr;
}

bool CPropsView::On_InitDialog()
{
    if (!editor || !variable)
        return false;
    // 1. the variable's data stream
    IDataStorageStreamPtr stream;
    if (!variable->GetStream(&stream) || !stream)
        return false;
    // 2. the properties class it names: a braced class id or a ProgID
    BSTR name = nullptr;
    if (!stream->GetPropsClass(&name) || !name)
        return false;
    const ComBstr className = ComBstr::Attach(name);
    CLSID propsClass = GUID_NULL;
    const HRESULT parsed =
        name[0] == L'{' ? CLSIDFromString(name, &propsClass) : CLSIDFromProgID(name, &propsClass);
    if (FAILED(parsed))
        return false;
    // 3. that class
    IDataStorageStreamPropsPtr props;
    if (FAILED(CoCreateInstance(propsClass, nullptr, CLSCTX_ALL, IID_IDataStorageStreamProps, props.AsOut())) ||
        !props)
        return false;
    // 4. the object the editor shows
    ComPtr<IUnknown> object;
    if (!props->CreateObject(stream.Get(), &object) || !object)
        return false;
    // 5. the sink
    sink = new CEvent(this);
    // 6. the editor's window over the client area
    const RECT client = {0, 0, width(), height()};
    editorWindow = editor->Create(this, &client, object.Get(), sink, kPropertyEditorOptions);
    if (!editorWindow)
        return false;
    On_Size();
    // 7. the stream's data, when it has some
    ComPtr<IUnknown> data;
    if (stream->GetDataObject(&data) && data)
        editor->SetDataObject(data.Get());
    return true;
}

int CPropsView::Run()
{
    exec();
    return 1;
}

void CPropsView::OnPropertyChanged()
{
    if (!editor || !variable)
        return;
    IAttributesPtr attributes;
    if (FAILED(CoCreateInstance(CLSID_AttributeSet, nullptr, CLSCTX_ALL, IID_IAttributes, attributes.AsOut())) ||
        !attributes)
        return;
    editor->GetProperties(attributes.Get());
    int32_t count = 0;
    if (FAILED(attributes->GetCount(&count)) || count < 1) {
        variable->SetValue(nullptr, 0);
        return;
    }
    IDataObjectPtr data;
    if (FAILED(attributes.As(data)) || !data)
        return;
    static const UINT format = RegisterClipboardFormat(kAttributeFormatName);
    FORMATETC wanted = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {TYMED_NULL, nullptr, nullptr};
    // A set that holds properties but cannot hand them out leaves the value
    // as it is rather than emptying it.
    if (FAILED(data->GetData(&wanted, &medium)) || medium.tymed != TYMED_HGLOBAL || !medium.hGlobal)
        return;
    const void* bytes = GlobalLock(medium.hGlobal);
    const size_t size = GlobalSize(medium.hGlobal);
    variable->SetValue(bytes, static_cast<unsigned>(size));
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
}

void CPropsView::On_Size()
{
    if (editorWindow)
        editorWindow->setGeometry(rect());
}

void CPropsView::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    On_Size();
}

void CPropsView::closeEvent(QCloseEvent* event)
{
    event->accept();
    done(1);
}
