#pragma once
// The web-browser control of the two web-page windows: a place on the form,
// in twips, whose page is made on the first navigation (the engine is a
// plug-in, see platform/WebView.h).
#include "platform/WebView.h"
#include "platform/forms/Controls.h"

#include <QString>

#include <functional>
#include <memory>

namespace help {

class NavWeb : public vb::Control {
 public:
  NavWeb(vb::Container& parent, const QString& name);
  ~NavWeb() override;

  // Navigates to an http or https address. Error 5 for any other address,
  // Error 429 when no web view can be made.
  void Navigate(const QString& address);
  // The page's title, empty while none is known.
  QString Title() const;
  // A navigation ended: true when the page loaded.
  std::function<void(bool ok)> onNavigateComplete;

  std::unique_ptr<vb::ArrayElement> cloneForArray_(vb::ArrayElement* after) const override;

 private:
  std::unique_ptr<platform::WebPage> page_;
};

// The fallback of a page that cannot be shown: its address on the clipboard
// as text, then message gLng154 with the information icon.
void PageIndisponible(const QString& address);

}  // namespace help
