#include "toolkit/Toolkit.h"

#include <QGuiApplication>
#include <QFont>

#include "toolkit/Accessible.h"

void InitToolkit() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
  QCoreApplication::setApplicationName(QStringLiteral("Swivel"));
  // The window class and the desktop file name tie the windows to the menu entry and its
  // icon in docks (StartupWMClass=Swivel in the entry).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Swivel"));
  InstallAccessibility();
}

bool DisplayAvailable() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
