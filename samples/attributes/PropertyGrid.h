// The property editor's window: two columns, "Name" and "Value"; only the
// values can be edited.  It keeps the server loaded while it exists.
#pragma once

#include <QTableWidget>

class CPropertyEditor;

class CPropertyGrid final : public QTableWidget {
public:
    explicit CPropertyGrid(QWidget* parent);
    ~CPropertyGrid() override;

    // Who hears of edits; null once the editor has gone.
    void SetEditor(CPropertyEditor* owner) { editor = owner; }

private:
    CPropertyEditor* editor = nullptr;
};
