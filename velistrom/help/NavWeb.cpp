#include "velistrom/help/NavWeb.h"

#include "platform/Clipboard.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace help {

namespace {

QWidget* Place(vb::Container& parent) {
  auto* w = new QWidget(parent.containerWidget());
  auto* layout = new QVBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  return w;
}

}  // namespace

NavWeb::NavWeb(vb::Container& parent, const QString& name)
    : vb::Control(parent, name, Place(parent), false) {}

NavWeb::~NavWeb() = default;

void NavWeb::Navigate(const QString& address) {
  const QUrl url(address.trimmed(), QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty())
    throw vb::Error(vb::vbErrInvalidCall, QStringLiteral("Not a web address: %1").arg(address));
  if (!page_) {
    QString why;
    page_ = platform::createWebPage(widget(), &why);
    if (!page_) throw vb::Error(429, why);
    widget()->layout()->addWidget(page_->widget());
    page_->onLoadFinished = [this](bool ok) {
      if (onNavigateComplete) onNavigateComplete(ok);
    };
  }
  page_->navigate(url);
}

QString NavWeb::Title() const { return page_ ? page_->title() : QString(); }

std::unique_ptr<vb::ArrayElement> NavWeb::cloneForArray_(vb::ArrayElement*) const { return nullptr; }

void PageIndisponible(const QString& address) {
  platform::clipboard::setText(address);
  vb::MsgBox(gLng154, vb::vbInformation);
}

}  // namespace help
