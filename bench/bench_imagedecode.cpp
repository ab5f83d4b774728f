// Decoding a large screenshot to the bound the window shows it at, next to decoding it whole:
// how long each takes, what stays in memory, and the decoding process's peak resident memory.
// Each case runs in a child process of its own, so that one's peak does not hide the other's.
#include "app/images/imageloader.h"

#include "bench/benchtiming.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

// A busy picture (gradients and text), so that the encoder cannot make it trivially small.
QByteArray screenshot(const char *format)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor(0x6D28D9));
    gradient.setColorAt(1, QColor(0xFDA4AF));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::white);
    for (int row = 0; row < 60; ++row)
        painter.drawText(40, 50 * row + 40, QStringLiteral("Every Orvel app, row %1 of a screenshot").arg(row));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

struct Outcome
{
    double milliseconds = 0;
    qsizetype keptBytes = 0;
    QSize size;
    long peakKiB = 0;
};

// The child's side: decodes the file and prints what it measured.
int decodeAndReport(const QString &file, int maxPixels)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = input.readAll();
    QImage kept;
    const double milliseconds = bestMilliseconds(3, [&] { kept = ImageLoader::decode(bytes, maxPixels); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%f %lld %d %d %ld\n", milliseconds, static_cast<long long>(kept.sizeInBytes()), kept.width(),
                kept.height(), usage.ru_maxrss);
    return 0;
}

// Runs one decode in a child process of this program and reads back what it measured.
Outcome measureInChild(const QString &file, int maxPixels)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--decode"), file, QString::number(maxPixels)});
    child.waitForFinished(60000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 5)
        return {};
    return {fields[0].toDouble(), fields[1].toLongLong(), QSize(fields[2].toInt(), fields[3].toInt()),
            fields[4].toLong()};
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures are drawn and decoded without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--decode"))
        return decodeAndReport(arguments.at(2), arguments.at(3).toInt());
    QTemporaryDir folder;
    for (const char *format : {"PNG", "JPEG"}) {
        const QByteArray bytes = screenshot(format);
        const QString file = folder.filePath(QString::fromLatin1(format));
        QFile output(file);
        if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size())
            return 1;
        output.close();
        const Outcome whole = measureInChild(file, 4000);
        const Outcome bounded = measureInChild(file, 1600);
        std::printf("4000 x 3000 %s screenshot, %.1f MiB encoded\n", format, bytes.size() / 1048576.0);
        std::printf("  whole (base):   %7.1f ms, keeps %dx%d = %6.1f MiB, peak resident %6.1f MiB\n",
                    whole.milliseconds, whole.size.width(), whole.size.height(), whole.keptBytes / 1048576.0,
                    whole.peakKiB / 1024.0);
        std::printf("  to 1600 bound:  %7.1f ms, keeps %dx%d = %6.1f MiB, peak resident %6.1f MiB\n",
                    bounded.milliseconds, bounded.size.width(), bounded.size.height(), bounded.keptBytes / 1048576.0,
                    bounded.peakKiB / 1024.0);
        std::printf("  ratio bounded/whole: time %.2f, kept %.2f, peak %.2f\n",
                    bounded.milliseconds / whole.milliseconds, double(bounded.keptBytes) / double(whole.keptBytes),
                    double(bounded.peakKiB) / double(whole.peakKiB));
    }
    return 0;
}
