// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturefiles.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
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
    Content content{path, {}, {}};
    QBuffer buffer(&content.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) {
        content.bytes.clear();
        content.failure = writer.errorString();
    }
    return content;
}

namespace {

// The longest a FIFO's or a device's reader may take nothing before a window gives up.
constexpr int StallSeconds = 5;

QString reason(int error)
{
    if (error == ETIMEDOUT)
        return QStringLiteral("nothing was read from it for %1 seconds").arg(StallSeconds);
    return QString::fromLocal8Bit(std::strerror(error));
}

// Which descriptors the program was given when it started; all of them until noted.
std::bitset<1024> givenDescriptors;
bool givenNoted = false;

bool wasGiven(int fd)
{
    return !givenNoted || (fd >= 0 && std::size_t(fd) < givenDescriptors.size() &&
                           givenDescriptors.test(std::size_t(fd)));
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

// The descriptor a name stands for when it leads through the system's own links to one of
// this process's descriptors: /dev/stdout, /dev/fd/3, /proc/self/fd/1. Opening such a name
// would open the file anew (and truncate what >> appends to); writing the descriptor
// itself is what a shell's redirection does.
std::optional<int> descriptorOf(const QByteArray &given)
{
    constexpr int MostLinks = 40;
    char *own = ::realpath("/proc/self/fd", nullptr);
    if (!own)
        return std::nullopt;
    const QByteArray ownFolder(own);
    std::free(own);
    QByteArray path = given;
    for (int links = 0; links <= MostLinks; ++links) {
        if (char *folder = ::realpath(folderOf(path).constData(), nullptr)) {
            const bool ours = ownFolder == folder;
            std::free(folder);
            bool number = false;
            const int fd = nameOf(path).toInt(&number, 10);
            if (ours && number && fd >= 0)
                return fd;
        }
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length < 0)
            return std::nullopt;
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return std::nullopt;
}

// With a deadline (a window's save), writes no more than a pipe takes at once, and only
// when the descriptor is ready for it, so that a stalled reader cannot block the caller.
int writeAll(int fd, const QByteArray &bytes, bool deadline = false)
{
    const char *next = bytes.constData();
    qsizetype left = bytes.size();
    QElapsedTimer waited;
    waited.start();
    while (left > 0) {
        std::size_t chunk = std::size_t(left);
        if (deadline) {
            const qint64 remaining = StallSeconds * 1000 - waited.elapsed();
            pollfd ready{fd, POLLOUT, 0};
            const int polled = remaining > 0 ? ::poll(&ready, 1, int(remaining)) : 0;
            if (polled < 0 && errno == EINTR)
                continue;
            if (polled < 0)
                return errno;
            if (polled == 0)
                return ETIMEDOUT;
            chunk = std::min<std::size_t>(chunk, PIPE_BUF);
        }
        const ssize_t written = ::write(fd, next, chunk);
        if (written < 0) {
            if (errno == EINTR || (deadline && errno == EAGAIN))
                continue;
            return errno;
        }
        waited.restart();
        next += written;
        left -= written;
    }
    return 0;
}

QByteArray nameBeside(const QByteArray &path, const char *what)
{
    const QByteArray tail = QByteArray(".") + what + '-' +
                            QByteArray::number(QRandomGenerator::global()->generate(), 36);
    QByteArray name = nameOf(path);
    // A name the file system just takes leaves no room for more: a shorter one will do.
    if (1 + name.size() + tail.size() > NAME_MAX)
        name = "quorvane";
    return folderOf(path) + "/." + name + tail;
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
    // A descriptor the program was given, written as it stands and left open.
    bool given = false;
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
            if (file.fd >= 0 && !file.given)
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
            *error = QStringLiteral("cannot write %1: %2")
                         .arg(content.path == StandardOutput
                                  ? QStringLiteral("standard output")
                                  : printable(QDir::toNativeSeparators(content.path)),
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
        const QByteArray name = QFile::encodeName(content.path);
        const std::optional<int> descriptor =
            content.path == StandardOutput ? std::optional(STDOUT_FILENO) : descriptorOf(name);
        if (descriptor) {
            if (!wasGiven(*descriptor) || ::fcntl(*descriptor, F_GETFD) < 0)
                return fail(content, reason(EBADF));
            file.fd = *descriptor;
            file.given = true;
            continue;
        }
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
            // A window keeps it so, to give up on a reader that stalls.
            if (file.fd < 0 ||
                (readers == Readers::WaitFor &&
                 ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK) != 0))
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
        int code = writeAll(file.fd, file.content->bytes, readers == Readers::MustBeThere);
        if (!file.given) {
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

void noteGivenDescriptors()
{
    for (std::size_t fd = 0; fd < givenDescriptors.size(); ++fd)
        givenDescriptors.set(fd, ::fcntl(int(fd), F_GETFD) >= 0);
    givenNoted = true;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (!givenDescriptors.test(std::size_t(fd)))
            // The lowest free number: this one.
            ::open("/dev/null", O_RDWR);
}

QString printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            shown += QStringLiteral("\\n");
        else if (u == u'\t')
            shown += QStringLiteral("\\t");
        else if (u == u'\r')
            shown += QStringLiteral("\\r");
        else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
            shown += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
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
