// One shared instance of a proxy over the application's own style.
#pragma once

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace morlane::gui::qt {

template <class Proxy>
QStyle* ApplicationProxyStyle() {
  // Widgets do not own styles: the application does.
  static QStyle* style = [] {
    auto* proxy = new Proxy(QStyleFactory::create(QApplication::style()->name()));
    proxy->setParent(QCoreApplication::instance());
    return proxy;
  }();
  return style;
}

}  // namespace morlane::gui::qt
