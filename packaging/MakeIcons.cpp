// Build-time tool: turns the window icon into the PNG files of the hicolor icon theme,
// <out>/<n>x<n>/apps/zirpel.png for every size asked for up to the picture's own. Larger
// sizes would only magnify its pixels; packaging/zirpel.svg draws them instead.
#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s icon.xpm outdir size...\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || size > icon.width()) {
            std::fprintf(stderr, "no %d pixel icon from a %d pixel picture\n", size, icon.width());
            return 2;
        }
        const QImage scaled =
            icon.convertToFormat(QImage::Format_ARGB32)
                .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QString dir =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (!QDir().mkpath(dir) || !scaled.save(dir + QStringLiteral("/zirpel.png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}
