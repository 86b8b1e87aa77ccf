#include "platform/WebView.h"

#include "platform/WebViewPlugin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

#include <unistd.h>

namespace platform {

namespace {

std::function<std::unique_ptr<WebPage>(QWidget*)>& maker() {
  static std::function<std::unique_ptr<WebPage>(QWidget*)> m;
  return m;
}

// Loaded once and kept: the engine cannot be unloaded and loaded again.
WebViewPlugin* plugin(QString* why) {
  static QPluginLoader* loader = nullptr;
  static QString failure;
  if (!loader) {
    const QString path = webViewPluginPath();
    loader = new QPluginLoader(path);
    if (!QFileInfo::exists(path))
      failure = QStringLiteral("no web-view plug-in at %1").arg(path);
    else if (!loader->load())
      failure = loader->errorString();
  }
  WebViewPlugin* p = loader->isLoaded() ? qobject_cast<WebViewPlugin*>(loader->instance()) : nullptr;
  if (!p && failure.isEmpty()) failure = QStringLiteral("the web-view plug-in is not usable");
  if (!p && why) *why = failure;
  return p;
}

}  // namespace

QString webViewPluginPath() {
  const QString set = qEnvironmentVariable("VELISTROM_WEBVIEW_PLUGIN");
  if (!set.isEmpty()) return set;
  return QCoreApplication::applicationDirPath() + QStringLiteral("/velistrom_webview.so");
}

std::unique_ptr<WebPage> createWebPage(QWidget* parent, QString* why) {
  if (maker()) {
    std::unique_ptr<WebPage> page = maker()(parent);
    if (!page && why) *why = QStringLiteral("no web page");
    return page;
  }
  WebViewPlugin* p = plugin(why);
  if (!p) return nullptr;
  std::unique_ptr<WebPage> page(p->createPage(parent));
  if (!page && why) *why = QStringLiteral("the web engine made no page");
  return page;
}

void prepareWebViewProcess() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (geteuid() != 0) return;
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.contains("--no-sandbox")) return;
  if (!flags.isEmpty()) flags += ' ';
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + "--no-sandbox");
}

void setWebPageMaker(std::function<std::unique_ptr<WebPage>(QWidget*)> m) { maker() = std::move(m); }

}  // namespace platform
