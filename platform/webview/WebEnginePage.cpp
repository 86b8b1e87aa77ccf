// The web-view plug-in: Qt WebEngine behind platform::WebPage. Built only
// when the engine's development files are there; without it the programs fall
// back to their no-web-view path.
#include "platform/WebViewPlugin.h"

#include <QObject>
#include <QPointer>
#include <QWebEngineView>

namespace {

class EnginePage : public platform::WebPage {
 public:
  explicit EnginePage(QWidget* parent) : view_(new QWebEngineView(parent)) {
    QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool ok) {
      if (onLoadFinished) onLoadFinished(ok);
    });
  }
  // The view goes with its parent, or here when the page goes first.
  ~EnginePage() override { delete view_.data(); }
  QWidget* widget() override { return view_; }
  void navigate(const QUrl& url) override { view_->setUrl(url); }
  QString title() const override { return view_ ? view_->title() : QString(); }

 private:
  QPointer<QWebEngineView> view_;
};

}  // namespace

class WebEnginePlugin : public QObject, public platform::WebViewPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID VELISTROM_WEBVIEW_PLUGIN_IID)
  Q_INTERFACES(platform::WebViewPlugin)
 public:
  platform::WebPage* createPage(QWidget* parent) override { return new EnginePage(parent); }
};

#include "WebEnginePage.moc"
