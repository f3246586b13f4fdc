// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <QSize>
#include <QString>

class QAbstractAxis;
class QChart;
class QChartView;
class QWidget;

namespace tallyhawk {

class Dialogs;

// A chart view named `name`, drawn smooth, at least `least` in size, with an empty chart.
QChartView* MakeChartView(QWidget* parent, const char* name, QSize least);

// Removes the chart's series, axes (deleted) and title, for it to be drawn again.
void ClearChart(QChart* chart);

// Puts the two axes at the bottom and on the left and ties every series of the chart to them.
void AttachAxes(QChart* chart, QAbstractAxis* horizontal, QAbstractAxis* vertical);

// SAVE AS PNG of a chart: asks where, starting in the pictures folder with `name`, and says so
// when the picture cannot be written.
void SaveChartAsPng(QWidget* parent, Dialogs& dialogs, QChartView* chart, const QString& name);

} // namespace tallyhawk
