// The benchmarks' working folder: a registry of their own with the storage
// component registered in it, and "cg/" beside them, as the program finds
// its fragment programs.  Needs a QCoreApplication.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class ComponentSandbox {
public:
    ComponentSandbox()
    {
        qputenv("COMREGISTRY_DIR", root.filePath("registry").toUtf8());
        QProcess reg;
        reg.start(COMREG_PATH, {QUILLET_PATH});
        reg.waitForFinished(30000);
        QFile::link(EDDYRA_CG_DIR, root.filePath("cg"));
        QDir::setCurrent(root.path());
    }

private:
    QTemporaryDir root;
};
