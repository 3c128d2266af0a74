#include "samples/attributes/PropertyGrid.h"

#include <QHeaderView>

#include "samples/attributes/SampleObject.h"
#include "samples/attributes/PropertyEditor.h"

CPropertyGrid::CPropertyGrid(QWidget* parent) : QTableWidget(0, 2, parent)
{
    ++module_count::Live();
    setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (editor && item->column() == 1)
            editor->On_ValueChanged(item->row());
    });
}

CPropertyGrid::~CPropertyGrid() { --module_count::Live(); }
