// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

class QWidget;

// The picture and the curves' numbers on their way out of the window: to a file, to the
// clipboard, or (for scripts) straight to files without a window on the screen.
namespace PictureFiles {

// The window's client area as the person sees it, controls included, at the window's
// device pixel ratio.
QImage windowPicture(QWidget &window);

// A file's whole content: a picture as PNG whatever the name's suffix, or bytes. When the
// content could not be made, failure says why and the file is not written.
struct Content {
    QString path;
    QByteArray bytes;
    QString failure;
};
Content pictureFile(const QImage &picture, const QString &path);

// "-" names standard output.
inline const QString StandardOutput = QStringLiteral("-");

// Called first thing in main(): notes which descriptors the program was given, and gives
// a closed standard input, output or error /dev/null, so that no descriptor the program
// opens itself takes their numbers. Standard output, /dev/stdout, /dev/fd/N and
// /proc/self/fd/N are then written only when they were given (else "Bad file
// descriptor"), never into a descriptor of the program's own.
void noteGivenDescriptors();

// A name or a value as one line can show it: control characters escaped (\n, \t, \x1b).
QString printable(const QString &text);

// Writes every file whole or none of them. A regular file (or the one a symbolic link
// leads to) is written beside its place first and put in place only when all were
// written; if putting a later one in place fails, the earlier ones are put back as they
// were. What is not a regular file (a device, a FIFO, standard output) is written in place
// and never replaced. A failure leaves no partial or temporary file; *error names the path
// and gives the system's reason. A name that leads to one of the program's descriptors
// (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N) is written through it, as "-" is,
// so that a shell's >> keeps what the file held. A FIFO without a reader is waited for, as
// a shell's redirection waits, or refused at once, and a reader that stalls is given up
// after a few seconds (a window must not hang on either).
enum class Readers { WaitFor, MustBeThere };
bool writeFiles(const std::vector<Content> &files, QString *error,
                Readers readers = Readers::WaitFor);

// Whether two names lead to the same file, existing or about to be made.
bool sameFile(const QString &a, const QString &b);

// quorvane-YYYYMMDD-HHMMSS.<suffix> in the user's Pictures folder (or Documents for CSV).
QString suggestedPath(const QString &suffix);

} // namespace PictureFiles
