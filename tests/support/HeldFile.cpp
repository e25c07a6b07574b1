#include "HeldFile.h"

#include <QCoreApplication>
#include <QDir>

HeldFile::HeldFile(const QString& path, Way way) {
    const QString how = way == Way::Alone     ? QStringLiteral("alone")
                        : way == Way::Readers ? QStringLiteral("readers")
                                              : QStringLiteral("locked");
    process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/HoldFile.exe"),
                   {how, QDir::toNativeSeparators(path)});
    while (process_.waitForReadyRead(10000) && !process_.canReadLine()) {
    }
    held_ = process_.readLine().trimmed() == "held";
}

HeldFile::~HeldFile() {
    // Its input closed, the program lets the file go and ends.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000))
        process_.kill();
    process_.waitForFinished(10000);
}
