#pragma once
// An embedded web page. The web engine lives in a plug-in loaded on the first
// page, so that a program that never shows one does not pay for starting it:
// merely linking the engine slows every start of a Qt program.
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

namespace platform {

class WebPage {
 public:
  virtual ~WebPage() = default;
  // The view, a child of the widget it was made for.
  virtual QWidget* widget() = 0;
  virtual void navigate(const QUrl& url) = 0;
  // The title of the page shown, empty until one is known.
  virtual QString title() const = 0;
  // Called when a navigation ends: true when the page loaded.
  std::function<void(bool ok)> onLoadFinished;
};

// A web page inside parent, or nullptr when none can be made (the plug-in or
// the engine missing); why then says what failed.
std::unique_ptr<WebPage> createWebPage(QWidget* parent, QString* why = nullptr);

// The plug-in file: $VELISTROM_WEBVIEW_PLUGIN when set, else
// velistrom_webview.so beside the program.
QString webViewPluginPath();

// Before the application object exists: the engine's settings that cannot be
// changed later (shared GL contexts; as root Chromium refuses its sandbox and
// aborts unless told to run without it).
void prepareWebViewProcess();

// Tests: replaces how a page is made (empty function: the plug-in again).
void setWebPageMaker(std::function<std::unique_ptr<WebPage>(QWidget*)> maker);

}  // namespace platform
