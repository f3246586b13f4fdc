#include "frmobjectmap.h"

#include "app/gamelistcombo.h"
#include "app/module2.h"

#include <QVBoxLayout>

namespace tallyhawk {

frmObjectMap::frmObjectMap(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_module2(module2), m_dialogs(dialogs)
{
    setObjectName("frmObjectMap");
    setWindowTitle("Orrinford's Tallyhawk ");
    ComboGameList = makeGameListCombo(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ComboGameList);
    layout->addStretch();
    resize(9375 / 15 + 32, 480);
}

} // namespace tallyhawk
