#include "pictureexport.h"

#include "run/curvelog.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QWidget>

#include <memory>

namespace PictureFiles {

QImage windowPicture(QWidget &window)
{
    return window.grab().toImage();
}

Content pictureFile(const QImage &picture, const QString &path)
{
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        format = "png";
    Content content{path, {}};
    QBuffer buffer(&content.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(picture);
    return content;
}

bool writeFiles(const std::vector<Content> &files, QString *error)
{
    std::vector<std::unique_ptr<QSaveFile>> pending;
    const auto fail = [error](const QSaveFile &file) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2")
                         .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    };
    for (const Content &content : files) {
        auto file = std::make_unique<QSaveFile>(content.path);
        if (!file->open(QIODevice::WriteOnly) ||
            file->write(content.bytes) != content.bytes.size() || !file->flush())
            return fail(*file);
        pending.push_back(std::move(file));
    }
    for (const auto &file : pending)
        if (!file->commit())
            return fail(*file);
    return true;
}

QString suggestedPath(const QString &suffix)
{
    const auto location =
        suffix == u"png" ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation;
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString name =
        QStringLiteral("quorvane-%1.%2")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), suffix);
    return QDir(folder).filePath(name);
}

} // namespace PictureFiles

PictureExport::PictureExport(QWidget &window, QWidget &canvas, const CurveLog &curves, Gate gate)
    : QObject(&window)
    , m_window(window)
    , m_canvas(canvas)
    , m_curves(curves)
    , m_gate(std::move(gate))
    , m_chooseFile([this](const QString &title, const QString &suggested, const QString &filter) {
        QFileDialog dialog(&m_window, title, suggested, filter);
        dialog.setObjectName(QStringLiteral("saveDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    })
{
    setObjectName(QStringLiteral("pictureExport"));
    const std::pair<QKeySequence, void (PictureExport::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_S), &PictureExport::savePicture},
        {QKeySequence(Qt::CTRL | Qt::Key_C), &PictureExport::copyPicture},
        {QKeySequence(Qt::CTRL | Qt::Key_E), &PictureExport::saveCurves},
    };
    for (const auto &[key, action] : keys) {
        auto *shortcut = new QShortcut(key, &m_window);
        connect(shortcut, &QShortcut::activated, this,
                [this, action = action] { m_gate([this, action] { (this->*action)(); }); });
    }
    // On the canvas only: the controls lie above it and keep their own menus, or none.
    m_canvas.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_canvas, &QWidget::customContextMenuRequested, this, &PictureExport::showContextMenu);
}

void PictureExport::showContextMenu(const QPoint &position)
{
    QMenu menu(&m_canvas);
    menu.setObjectName(QStringLiteral("canvasMenu"));
    const std::tuple<QString, QKeySequence, void (PictureExport::*)()> items[] = {
        {tr("Save picture…"), QKeySequence(Qt::CTRL | Qt::Key_S), &PictureExport::savePicture},
        {tr("Copy picture"), QKeySequence(Qt::CTRL | Qt::Key_C), &PictureExport::copyPicture},
        {tr("Save curves as CSV…"), QKeySequence(Qt::CTRL | Qt::Key_E), &PictureExport::saveCurves},
    };
    for (const auto &[text, key, action] : items) {
        QAction *item = menu.addAction(text);
        item->setShortcut(key);
        connect(item, &QAction::triggered, this,
                [this, action = action] { m_gate([this, action] { (this->*action)(); }); });
    }
    menu.exec(m_canvas.mapToGlobal(position));
}

void PictureExport::savePicture()
{
    // The picture as it was when asked for, before the dialog covers the window.
    const QImage picture = PictureFiles::windowPicture(m_window);
    const QString path =
        m_chooseFile(tr("Save picture"), PictureFiles::suggestedPath(QStringLiteral("png")),
                     tr("PNG image (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureFiles::writeFiles({PictureFiles::pictureFile(picture, path)}, &error))
        reportFailure(error);
}

void PictureExport::copyPicture()
{
    QApplication::clipboard()->setImage(PictureFiles::windowPicture(m_window));
}

void PictureExport::saveCurves()
{
    const QString path =
        m_chooseFile(tr("Save curves as CSV"), PictureFiles::suggestedPath(QStringLiteral("csv")),
                     tr("CSV file (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureFiles::writeFiles({{path, m_curves.toCsv()}}, &error))
        reportFailure(error);
}

void PictureExport::reportFailure(const QString &error)
{
    QMessageBox::warning(&m_window, QCoreApplication::applicationName(),
                         error.left(1).toUpper() + error.mid(1) + u'.');
}
