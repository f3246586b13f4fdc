#pragma once

#include <QDialog>

namespace tallyhawk {

// The about box.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace tallyhawk
