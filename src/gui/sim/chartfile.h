#pragma once

#include <QString>

class QChartView;
class QWidget;

namespace tallyhawk {

class Dialogs;

// SAVE AS PNG of a chart: asks where, starting in the pictures folder with `name`, and says so
// when the picture cannot be written.
void SaveChartAsPng(QWidget* parent, Dialogs& dialogs, QChartView* chart, const QString& name);

} // namespace tallyhawk
