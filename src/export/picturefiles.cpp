// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturefiles.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QWidget>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PictureFiles {

QImage windowPicture(QWidget &window)
{
    // The picture and its controls, without the grey around them in full screen.
    return window.grab(window.childrenRect()).toImage();
}

Content pictureFile(const QImage &picture, const QString &path)
{
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        format = "png";
    Content content{path, {}, {}};
    QBuffer buffer(&content.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture)) {
        content.bytes.clear();
        content.failure = writer.errorString();
    }
    return content;
}

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Where a name leads once its symbolic links are followed: the file to write, which may
// not exist yet. Returns 0 or the errno that says why it leads nowhere.
int follow(const QByteArray &given, QByteArray *path, struct stat *status, bool *exists)
{
    // As many links as Linux itself follows before it says ELOOP.
    constexpr int MostLinks = 40;
    *path = given;
    for (int links = 0;; ++links) {
        if (::lstat(path->constData(), status) != 0) {
            if (errno != ENOENT)
                return errno;
            *exists = false;
            return 0;
        }
        if (!S_ISLNK(status->st_mode)) {
            *exists = true;
            return 0;
        }
        if (links == MostLinks)
            return ELOOP;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path->constData(), target.data(), target.size());
        if (length < 0)
            return errno;
        target.truncate(length);
        *path = target.startsWith('/') ? target : folderOf(*path) + '/' + target;
    }
}

int writeAll(int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        next += written;
        left -= written;
    }
    return 0;
}

QByteArray nameBeside(const QByteArray &path, const char *what)
{
    return folderOf(path) + "/." + nameOf(path) + '.' + what + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// A new file beside path, made for this process alone.
int createBeside(const QByteArray &path, QByteArray *made, int *fd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *made = nameBeside(path, "new");
        *fd = ::open(made->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (*fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// A full disk or a file size limit must come back as an error to report and clean up
// after, not as a signal that ends the program with a temporary file left behind; so must
// a reader that goes away.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &m_pipe);
        ::sigaction(SIGXFSZ, &ignore, &m_size);
    }
    ~SignalsHeld()
    {
        ::sigaction(SIGPIPE, &m_pipe, nullptr);
        ::sigaction(SIGXFSZ, &m_size, nullptr);
    }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    struct sigaction m_pipe = {};
    struct sigaction m_size = {};
};

struct Pending {
    const Content *content = nullptr;
    QByteArray target;
    // Empty when the target is written in place.
    QByteArray temporary;
    int fd = -1;
    bool existed = false;
    // The old file under another name while the new one is in its place.
    QByteArray backup;
    bool committed = false;
};

// Gives the old file a second name until the new one stands in its place, so that it can
// be put back if a later file fails.
void keepOld(Pending &file)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = nameBeside(file.target, "old");
        if (::link(file.target.constData(), name.constData()) == 0) {
            file.backup = name;
            return;
        }
        if (errno == EEXIST)
            continue;
        // A file system without second names: moving it aside will do.
        if (::rename(file.target.constData(), name.constData()) == 0)
            file.backup = name;
        return;
    }
}

} // namespace

bool writeFiles(const std::vector<Content> &files, QString *error, Readers readers)
{
    const SignalsHeld signalsHeld;
    std::vector<Pending> pending;
    const auto undo = [&pending] {
        for (Pending &file : pending) {
            if (file.fd > STDERR_FILENO)
                ::close(file.fd);
            if (!file.backup.isEmpty()) {
                ::rename(file.backup.constData(), file.target.constData());
                // Still there when it was a second name of the file in place.
                ::unlink(file.backup.constData());
            } else if (file.committed && !file.existed)
                ::unlink(file.target.constData());
            if (!file.temporary.isEmpty() && !file.committed)
                ::unlink(file.temporary.constData());
        }
    };
    const auto fail = [&](const Content &content, const QString &why) {
        undo();
        if (error)
            *error =
                QStringLiteral("cannot write %1: %2")
                    .arg(content.path == StandardOutput ? QStringLiteral("standard output")
                                                        : QDir::toNativeSeparators(content.path),
                         why);
        return false;
    };

    for (const Content &content : files)
        if (!content.failure.isEmpty())
            return fail(content, content.failure);

    // Every regular file beside its place first: they can still be taken back.
    pending.reserve(files.size());
    for (const Content &content : files) {
        Pending &file = pending.emplace_back();
        file.content = &content;
        if (content.path == StandardOutput) {
            file.fd = STDOUT_FILENO;
            continue;
        }
        const QByteArray name = QFile::encodeName(content.path);
        struct stat status = {};
        if (const int code = follow(name, &file.target, &status, &file.existed))
            return fail(content, reason(code));
        // The system's own links (/dev/stdout and the like) lead where their text does not
        // say, so only the system can open them.
        struct stat named = {};
        const bool inPlace = ::stat(name.constData(), &named) == 0 &&
                             (!S_ISREG(named.st_mode) || !file.existed ||
                              named.st_dev != status.st_dev || named.st_ino != status.st_ino);
        if (inPlace) {
            const int flags = O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY;
            file.fd =
                ::open(name.constData(), flags | (readers == Readers::WaitFor ? 0 : O_NONBLOCK));
            if (file.fd < 0 ||
                ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK) != 0)
                return fail(content, reason(errno));
            continue;
        }
        // Replacing a file its permissions keep from being written would not be an edit.
        if (file.existed && ::access(file.target.constData(), W_OK) != 0)
            return fail(content, reason(errno));
        if (const int code = createBeside(file.target, &file.temporary, &file.fd))
            return fail(content, reason(code));
        if (file.existed) {
            // Best effort: keep the old file's owner and permissions, as an edit would.
            [[maybe_unused]] const int owned = ::fchown(file.fd, status.st_uid, status.st_gid);
            ::fchmod(file.fd, status.st_mode & 07777);
        }
        int code = writeAll(file.fd, content.bytes);
        if (!code && ::fsync(file.fd) != 0)
            code = errno;
        const int closed = ::close(file.fd);
        file.fd = -1;
        if (!code && closed != 0)
            code = errno;
        if (code)
            return fail(content, reason(code));
    }

    // What is written in place cannot be taken back, so it comes once the rest is ready.
    for (Pending &file : pending) {
        if (!file.temporary.isEmpty())
            continue;
        int code = writeAll(file.fd, file.content->bytes);
        if (file.fd > STDERR_FILENO) {
            const int closed = ::close(file.fd);
            if (!code && closed != 0)
                code = errno;
        }
        file.fd = -1;
        if (code)
            return fail(*file.content, reason(code));
    }

    for (Pending &file : pending) {
        if (file.temporary.isEmpty())
            continue;
        if (file.existed && &file != &pending.back())
            keepOld(file);
        if (::rename(file.temporary.constData(), file.target.constData()) != 0)
            return fail(*file.content, reason(errno));
        file.committed = true;
    }
    for (const Pending &file : pending)
        if (!file.backup.isEmpty())
            ::unlink(file.backup.constData());
    return true;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    // Where each leads: the file itself when it exists, else its folder and name.
    const auto place = [](const QString &name) {
        const auto identity = [](const struct stat &status) {
            return QByteArray::number(quint64(status.st_dev)) + ':' +
                   QByteArray::number(quint64(status.st_ino));
        };
        struct stat status = {};
        if (name == StandardOutput)
            return ::fstat(STDOUT_FILENO, &status) == 0 ? identity(status) : QByteArray();
        if (::stat(QFile::encodeName(name).constData(), &status) == 0)
            return identity(status);
        QByteArray path;
        bool exists = false;
        if (follow(QFile::encodeName(name), &path, &status, &exists) != 0)
            return QByteArray();
        char *folder = ::realpath(folderOf(path).constData(), nullptr);
        if (!folder)
            return QByteArray();
        const QByteArray where = QByteArray(folder) + '/' + nameOf(path);
        std::free(folder);
        return where;
    };
    const QByteArray placeA = place(a);
    return !placeA.isEmpty() && placeA == place(b);
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
