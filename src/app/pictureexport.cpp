#include "pictureexport.h"

#include "run/curvelog.h"

#include <QAction>
#include <QApplication>
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

namespace PictureFiles {

QImage windowPicture(QWidget &window)
{
    return window.grab().toImage();
}

namespace {

bool write(const QString &path, QString *error,
           const std::function<bool(QSaveFile &, QString *)> &content)
{
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly))
        why = file.errorString();
    else if (!content(file, &why))
        file.cancelWriting();
    else if (!file.commit())
        why = file.errorString();
    if (why.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), why);
    return false;
}

} // namespace

bool writePicture(const QImage &picture, const QString &path, QString *error)
{
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        format = "png";
    return write(path, error, [&](QSaveFile &file, QString *why) {
        QImageWriter writer(&file, format);
        if (writer.write(picture))
            return true;
        *why = writer.errorString();
        return false;
    });
}

bool writeBytes(const QByteArray &bytes, const QString &path, QString *error)
{
    return write(path, error, [&](QSaveFile &file, QString *why) {
        if (file.write(bytes) == bytes.size())
            return true;
        *why = file.errorString();
        return false;
    });
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
    const QString path =
        m_chooseFile(tr("Save picture"), PictureFiles::suggestedPath(QStringLiteral("png")),
                     tr("PNG image (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureFiles::writePicture(PictureFiles::windowPicture(m_window), path, &error))
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
    if (!PictureFiles::writeBytes(m_curves.toCsv(), path, &error))
        reportFailure(error);
}

void PictureExport::reportFailure(const QString &error)
{
    QMessageBox::warning(&m_window, QCoreApplication::applicationName(),
                         error.left(1).toUpper() + error.mid(1) + u'.');
}
