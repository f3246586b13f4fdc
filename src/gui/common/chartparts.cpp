// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "chartparts.h"

#include "gui/common/dialogs.h"

#include <QAbstractAxis>
#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QStandardPaths>

namespace tallyhawk {

QChartView* MakeChartView(QWidget* parent, const char* name, QSize least)
{
    auto* view = new QChartView(new QChart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(least);
    return view;
}

void ClearChart(QChart* chart)
{
    chart->removeAllSeries();
    // A removed axis is the caller's to delete.
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle({});
}

void AttachAxes(QChart* chart, QAbstractAxis* horizontal, QAbstractAxis* vertical)
{
    chart->addAxis(horizontal, Qt::AlignBottom);
    chart->addAxis(vertical, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(horizontal);
        series->attachAxis(vertical);
    }
}

void SaveChartAsPng(QWidget* parent, Dialogs& dialogs, QChartView* chart, const QString& name)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path =
        dialogs.saveFileName(parent, "Save Chart", QDir(folder).filePath(name), "PNG image (*.png)");
    if (path.isEmpty())
        return;
    if (!chart->grab().save(path, "PNG"))
        dialogs.message(parent, "The chart could not be saved as " + QDir::toNativeSeparators(path) + ".",
                        kProgramTitle, Dialogs::Icon::Warning);
}

} // namespace tallyhawk
