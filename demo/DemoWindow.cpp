#include "demo/DemoWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QVBoxLayout>

#include "demo/DemoContent.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComRuntime.h"

// The change sink given to every editor the demo opens: it is told of each
// edit before the component is.
class DemoSink final : public ComObject<IVariableChangedEvent> {
public:
    explicit DemoSink(DemoWindow* window) : window(window) {}

    STDMETHOD_(int32_t, OnVariableChanged)(const GUID* listId, const char* name, const void* bytes,
                                           unsigned length) override
    {
        ++calls;
        if (!window) return 0;
        DemoList* list = listId ? window->ListOf(*listId) : nullptr;
        const int kind = list ? list->Kind(name ? name : "") : -1;
        window->Note(std::string("sink      ") + (list ? list->GetListName() : "?") + "  " + (name ? name : "") +
                     " = " + DescribeValue(kind, bytes, length));
        return 0;
    }

    int calls = 0;
    DemoWindow* window;
};

namespace {
// Keeps the embedded editor filling the right half of the window.
class ControlArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent*) override
    {
        for (QObject* child : children())
            if (auto* w = qobject_cast<QWidget*>(child)) w->setGeometry(rect());
    }
};
}  // namespace

DemoWindow::DemoWindow()
{
    setWindowTitle("Quillet demo client");
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    auto* modal = new QPushButton("Modal dialog", central);
    auto* modelessButton = new QPushButton("Modeless dialog", central);
    controlButton = new QPushButton("Child control", central);
    buttons->addWidget(modal);
    buttons->addWidget(modelessButton);
    buttons->addWidget(controlButton);
    left->addLayout(buttons);
    left->addWidget(new QLabel("What the client receives (callback) and is told (sink):", central));
    log = new QPlainTextEdit(central);
    log->setReadOnly(true);
    log->setObjectName("log");
    left->addWidget(log);
    columns->addLayout(left, 1);
    controlArea = new ControlArea(central);
    controlArea->setObjectName("controlArea");
    controlArea->setMinimumWidth(420);
    columns->addWidget(controlArea, 1);
    setCentralWidget(central);
    resize(1000, 560);

    connect(modal, &QPushButton::clicked, this, [this] { OpenModal(); });
    connect(modelessButton, &QPushButton::clicked, this, [this] { OpenModeless(); });
    connect(controlButton, &QPushButton::clicked, this, [this] { ToggleControl(); });

    scene = CreateSceneList();
    render = CreateRenderList();
    sink = new DemoSink(this);

    // Like any client: the component is found by its class id.
    const HRESULT hr =
        CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage, storage.AsOut());
    if (FAILED(hr) || !storage || FAILED(storage.As(attach))) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "The variable storage component could not be created (0x%08X): is it built and registered?",
                      unsigned(hr));
        error = text;
        storage = nullptr;
        Note(error);
        return;
    }
    storage->UseVariableList(&kSceneListId, scene);
    storage->UseVariableList(&kRenderListId, render);
    sceneBinding = {this, scene, kSceneListId};
    renderBinding = {this, render, kRenderListId};
    attach->AttachVariableList(&kSceneListId, &DemoWindow::OnValue, &sceneBinding);
    attach->AttachVariableList(&kRenderListId, &DemoWindow::OnValue, &renderBinding);
    Note("Component created; lists \"Scene\" and \"Render\" handed over.");
}

DemoWindow::~DemoWindow()
{
    // The editors go first: each holds the component and calls this window.
    delete control;
    control = nullptr;
    delete modeless.data();
    sink->window = nullptr;
    if (attach) {
        attach->DetachVariableList(&kSceneListId);
        attach->DetachVariableList(&kRenderListId);
    }
    attach = nullptr;
    storage = nullptr;
    sink->Release();
    scene->Release();
    render->Release();
}

int32_t DemoWindow::OnValue(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* binding = static_cast<Binding*>(context);
    DemoWindow* self = binding->window;
    ++self->callbacks;
    const bool known = binding->list->Apply(name, bytes, length);
    const int kind = binding->list->Kind(name ? name : "");
    self->Note(std::string("callback  ") + binding->list->GetListName() + "  " + (name ? name : "") + " = " +
               DescribeValue(kind, bytes, length) + (known ? "" : "  (unknown name)"));
    return 1;
}

DemoList* DemoWindow::ListOf(const GUID& id) const
{
    if (id == kSceneListId) return scene;
    if (id == kRenderListId) return render;
    return nullptr;
}

int DemoWindow::SinkCount() const { return sink->calls; }

void DemoWindow::Note(const std::string& line) { log->appendPlainText(QString::fromStdString(line)); }

void DemoWindow::OpenModal()
{
    if (!storage) return;
    Note("Opening the editor as a modal dialog.");
    storage->CreateModal(this, 0, sink);
    Note("Modal dialog closed.");
}

void DemoWindow::OpenModeless()
{
    if (!storage) return;
    modeless = storage->Create(this, 0, sink);
    Note(modeless ? "Modeless dialog open." : "The component opened no dialog.");
}

void DemoWindow::ToggleControl()
{
    if (!storage) return;
    if (control) {
        delete control;
        control = nullptr;
        controlButton->setText("Child control");
        return;
    }
    const QRect r = controlArea->rect();
    const RECT rect = {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    control = storage->CreateControl(controlArea, &rect, sink);
    controlButton->setText("Close child control");
    Note(control ? "Editor created as a child control." : "The component created no control.");
}
