// The demo client's window: it creates the storage component by class id,
// hands it two variable lists, shows every value its callback and its change
// sink receive, and opens the editor in the three ways the component offers.
#pragma once

#include <string>

#include <QMainWindow>
#include <QPointer>

#include "demo/DemoList.h"
#include "storage/api/VariableStorage.h"

class QPlainTextEdit;
class QPushButton;
class DemoSink;

class DemoWindow : public QMainWindow {
public:
    DemoWindow();
    ~DemoWindow() override;

    // False when the component could not be created; ErrorText says why.
    bool IsReady() const { return static_cast<bool>(storage); }
    const std::string& ErrorText() const { return error; }

    void OpenModal();
    void OpenModeless();
    // Creates the editor as a child control, or closes the one shown.
    void ToggleControl();

    HWND Control() const { return control; }
    HWND Modeless() const { return modeless.data(); }
    QPlainTextEdit* Log() const { return log; }
    DemoList* Scene() const { return scene; }
    DemoList* Render() const { return render; }
    int CallbackCount() const { return callbacks; }
    int SinkCount() const;

    // Appends one line to the log.
    void Note(const std::string& line);

private:
    struct Binding {
        DemoWindow* window;
        DemoList* list;
        GUID id;
    };
    static int32_t STDMETHODCALLTYPE OnValue(const char* name, const void* bytes, unsigned length, void* context);
    DemoList* ListOf(const GUID& id) const;

    IVariableStoragePtr storage;
    IVariableStorageAttachPtr attach;
    DemoList* scene = nullptr;
    DemoList* render = nullptr;
    Binding sceneBinding{}, renderBinding{};
    DemoSink* sink = nullptr;
    QPlainTextEdit* log = nullptr;
    QWidget* controlArea = nullptr;
    QPushButton* controlButton = nullptr;
    HWND control = nullptr;
    QPointer<QWidget> modeless;
    int callbacks = 0;
    std::string error;

    friend class DemoSink;
};
