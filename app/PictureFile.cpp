#include "PictureFile.h"

#include "FileNameAsker.h"
#include "MessagePresenter.h"
#include "export/SaveFile.h"
#include "plot/ChartPicture.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>

#include <utility>

PicturePaint chartsPaint(std::vector<const Chart*> charts, QSize size) {
    return [charts = std::move(charts), size](QPainter& painter, double ratio) {
        paintCharts(painter, charts, size, ratio);
    };
}

void copyPicture(const PictureRequest& picture) {
    QApplication::clipboard()->setImage(pictureImage(picture.size, picture.ratio, picture.paint));
}

void savePicture(QWidget* parent, FileNameAsker& files, MessagePresenter& messages, const PictureRequest& picture) {
    const QStringList filters = pictureFilters();
    const std::optional<FileNameAsker::Choice> choice =
        files.askSaveFile(parent, QString::fromUtf8("Save picture"), picture.suggestedName + ".png", filters);
    if (!choice || choice->path.isEmpty()) return;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty()) path += "." + filterExtension(filters.value(choice->filter));
    const std::optional<PictureFormat> format = pictureFormatOf(path);
    if (!format) {
        messages.show(parent,
                      QString::fromUtf8("Cannot save the picture as “%1”: a picture is saved as PNG (.png), SVG "
                                        "(.svg) or JPEG (.jpg, .jpeg); the name's extension chooses which.")
                          .arg(QFileInfo(path).fileName()),
                      MessagePresenter::Kind::Warning);
        return;
    }
    const QByteArray bytes = pictureBytes(picture.size, picture.ratio, *format, picture.title, picture.paint);
    const orvek::Status saved = orvek::saveFileAtomically(
        path.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!saved) messages.show(parent, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}
