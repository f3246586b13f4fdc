#include "chartfile.h"

#include "gui/common/dialogs.h"

#include <QChartView>
#include <QDir>
#include <QStandardPaths>

namespace tallyhawk {

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
