// A stand-in for any product of the suite, for the demo and the real-window tests. Its file name says which product
// it is (quorface.exe is Face) and its package note says which version, so the launcher reads a real version from it.
// Each start is recorded in "<file>.starts" beside the program: one line with the arguments, separated by tabs.
// With --demo-catalogue it prints the launcher's product table as JSON, so the demo content follows the launcher.
#include "DemoCatalogue.h"
#include "launch/Catalogue.h"
#include "update/FileVersion.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

using namespace quorvel;

namespace {

QString captionOf(const QString& fileName)
{
    for (const CatalogueRow& row : catalogue::rows()) {
        if (row.file == fileName && !row.caption.isEmpty())
            return row.caption;
    }
    return fileName;
}

void recordStart(const QString& program, const QStringList& arguments)
{
    QFile record(program + QStringLiteral(".starts"));
    if (!record.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return; // a demo product that cannot record still runs
    record.write((arguments.join(u'\t') + u'\n').toUtf8());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("--demo-catalogue")}) {
        std::fputs(QJsonDocument(demo::catalogueAsJson()).toJson().constData(), stdout);
        return 0;
    }

    const QString program = QCoreApplication::applicationFilePath();
    recordStart(program, arguments);
    const QString version = fileVersion(program);
    const QString title = captionOf(QFileInfo(program).fileName()) + u' ' + version;

    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    auto* heading = new QLabel(title, &window);
    QFont font = heading->font();
    font.setPointSize(font.pointSize() * 2);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addWidget(new QLabel(QStringLiteral("Produto de demonstração, iniciado em %1.")
                                     .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))),
                                 &window));
    layout->addWidget(new QLabel(arguments.isEmpty() ? QStringLiteral("Sem argumentos.")
                                                     : QStringLiteral("Argumentos: ") + arguments.join(u' '),
                                 &window));
    window.resize(480, 160);
    window.show();
    return app.exec();
}
