#pragma once

#include <QWidget>

class QComboBox;

namespace tallyhawk {

struct Module2;
class Dialogs;

// The catalogue window: browses the pay schedules of every game. It lives hidden from the
// board's load on; the board fills its game list.
class frmObjectMap : public QWidget
{
    Q_OBJECT
public:
    frmObjectMap(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);

    QComboBox* ComboGameList;

private:
    Module2& m_module2;
    Dialogs& m_dialogs;
};

} // namespace tallyhawk
