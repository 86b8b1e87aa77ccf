#pragma once
// The interface the web-view plug-in implements (platform/webview/).
#include "platform/WebView.h"

#include <QtPlugin>

namespace platform {

class WebViewPlugin {
 public:
  virtual ~WebViewPlugin() = default;
  // A page inside parent; nullptr when the engine cannot make one.
  virtual WebPage* createPage(QWidget* parent) = 0;
};

}  // namespace platform

#define VELISTROM_WEBVIEW_PLUGIN_IID "org.velistrom.WebViewPlugin/1"
Q_DECLARE_INTERFACE(platform::WebViewPlugin, VELISTROM_WEBVIEW_PLUGIN_IID)
