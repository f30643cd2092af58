#include "toolkit/Toolkit.h"

#include <QCoreApplication>
#include <QFont>

#include "toolkit/Accessible.h"

void InitToolkit() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
  QCoreApplication::setApplicationName(QStringLiteral("Swivel"));
  InstallAccessibility();
}

bool DisplayAvailable() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
