#include "browser/webbrowsermodule.h"

#include "browser/browsertexts.h"
#include "platform/folders.h"
#include "platform/runtimeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QOpenGLContext>

// Qt's own hook for the context every OpenGL context of the program shares with. The
// documented way to get one, an application attribute set before the application object
// exists, loads the GL driver at start: it would cost every start of the program twice
// its time, browser or not. Made here, it costs only the first browser window.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

// The browser engine draws its pages with OpenGL in contexts that must share with one
// made before any engine object exists; without it the first browser window ends the
// program.
void makeSharedOpenGLContext() {
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

CreateWebBrowserFunction loadModule() {
    static CreateWebBrowserFunction create = nullptr;
    if (create)
        return create;
    const QString path = webBrowserModulePath();
    makeSharedOpenGLContext();
    QLibrary module(path);
    if (!module.load())
        raiseError(
            ErrorNumber::CannotCreateObject,
            BrowserText::moduleNotLoaded(QDir::toNativeSeparators(path), module.errorString()));
    create = reinterpret_cast<CreateWebBrowserFunction>(module.resolve(createWebBrowserSymbol));
    if (!create)
        raiseError(ErrorNumber::CannotCreateObject,
                   BrowserText::notOurModule(QDir::toNativeSeparators(path)));
    return create;
}

} // namespace

QString webBrowserModulePath() {
    return QDir(Folders::modules()).filePath(QStringLiteral("liborvanel_webengine.so"));
}

brwWebBrowser *createWebBrowser(QWidget *parent, brwWebBrowserEvents &events,
                                const BrowserPages &pages) {
    return loadModule()(parent, &events, &pages);
}
