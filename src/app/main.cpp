#include "Version.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillfen"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Quillfen::versionString));

    QTextStream(stdout) << "Quillfen " << Quillfen::versionString << " (build " << Quillfen::buildNumber << ")\n";
    return 0;
}
