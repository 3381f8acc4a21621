#pragma once
#include <QString>

// The fixed help texts of the main window's tabs.
QString TextoInfoCD();
QString TextoInfoMasc();
QString TextoListado();
QString TextoAcercaDe();
