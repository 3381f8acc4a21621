#pragma once
// Reaching the main window as a person does: controls by their names.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QtGlobal>

class frmVaro;

// The control of that name inside padre; a missing one stops the test run.
template <typename T>
T* Hijo(const QObject& padre, const char* nombre)
{
    T* c = padre.findChild<T*>(QString::fromUtf8(nombre));
    if (!c)
        qFatal("no control named %s", nombre);
    return c;
}

// As the desktop does it: a drag enters the work list, then it is dropped.
void Suelta(frmVaro& w, const QStringList& rutas);
// The texts of the work list's rows as shown, top to bottom.
QStringList Mostrados(frmVaro& w);
// Clicks a button by name (nothing happens when it is disabled).
void Pulsa(frmVaro& w, const char* boton);
// The window keeps its settings (size, widths, last folder) under carpeta,
// as the person's configuration, for every window made after this call.
void AjustesEn(const QString& carpeta);
