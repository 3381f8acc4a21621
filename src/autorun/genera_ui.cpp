#include "autorun/genera_ui.h"

#include <QGridLayout>
#include <QPushButton>
#include <QShortcut>
#include <vector>

#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "common/avisos.h"
#include "common/controles.h"
#include "common/listasimagenes.h"

ArbolTrabajo::ArbolTrabajo(const ListasImagenes& imagenes, QWidget* parent) : QTreeWidget(parent), imagenes_(imagenes), arbol_(std::make_unique<ArbolDiscos>())
{
    setObjectName(QStringLiteral("Tv"));
    setToolTip(QStringLiteral("Arbol que nos muestra la exploracion"));
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

ArbolTrabajo::~ArbolTrabajo() = default;

void ArbolTrabajo::Genera(const ListaTrabajo& lista, CamposLlevados& campos)
{
    *arbol_ = GeneraArbol(lista, campos);
    clear();
    std::vector<QTreeWidgetItem*> items(size_t(arbol_->Cuenta()), nullptr);
    for (int i = 0; i < arbol_->Cuenta(); ++i) {
        const NodoArbol& n = arbol_->Nodo(i);
        auto* item = n.padre < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(items[size_t(n.padre)]);
        item->setText(0, n.texto);
        item->setIcon(0, imagenes_.Pequena(n.imagen));
        item->setData(0, Qt::UserRole, n.clave);
        item->setData(0, Qt::UserRole + 1, n.tag);
        items[size_t(i)] = item;
    }
    // Root, authors and discs are brought into view: their parents open.
    for (int i = 0; i < arbol_->Cuenta(); ++i)
        if (arbol_->Nodo(i).asegurarVisible)
            for (QTreeWidgetItem* p = items[size_t(i)]->parent(); p; p = p->parent())
                p->setExpanded(true);
    if (!items.empty())
        scrollToItem(items.front());
}

bool ArbolTrabajo::EscribeAutorun(bool rutasRelativas, const QString& carpeta, Avisos& avisos)
{
    const QString fallo = ::EscribeAutorun(*arbol_, rutasRelativas, carpeta);
    if (!fallo.isEmpty()) {
        avisos.Falla(QStringLiteral("No se ha podido escribir el fichero ") + fallo, QStringLiteral("Autorun"));
        return false;
    }
    return true;
}

void ArbolTrabajo::VerAutorun(const QString& carpeta, Avisos& avisos)
{
    // An open preview is brought forward as it is; a closed one is read anew.
    if (!vistaPrevia_) {
        vistaPrevia_ = new frmAuto(carpeta, kRevisionLodrin, avisos, window());
        vistaPrevia_->setAttribute(Qt::WA_DeleteOnClose);
        auto* cierra = new QShortcut(QKeySequence(Qt::Key_Escape), vistaPrevia_);
        connect(cierra, &QShortcut::activated, vistaPrevia_, &QWidget::close);
    }
    vistaPrevia_->show();
    vistaPrevia_->raise();
    vistaPrevia_->activateWindow();
}

PestanaPrepararCD::PestanaPrepararCD(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PrepararCD"));
    cmdWriteTag = Control<QPushButton>(this, "cmdWriteTag", "Poner Tag's");
    cmdDeleteTag = Control<QPushButton>(this, "cmdDeleteTag", "Borrar tag's");
    cmdauto = Control<QPushButton>(this, "cmdauto", "Autorun");
    const std::tuple<QPushButton*, const char*, const char*> filas[] = {
        {cmdWriteTag, "Label5",
         "Grabar en los ficheros MP3 la informacion obtenida en forma de tag's. Solo la grabara en caso de que no la "
         "tuviera grabada anteriormente."},
        {cmdDeleteTag, "Label6",
         "En el caso que queramos volver a escribir los tag's primero hemos de borrar los contenidos."},
        {cmdauto, "Label3",
         "Generar el fichero Autorun.dat que junto con Vistel podemos poner en el CD para la presentacion de los "
         "contenidos con caratulas."}};
    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(6, 10, 6, 6);
    rejilla->setVerticalSpacing(16);
    int fila = 0;
    for (auto [boton, nombre, texto] : filas) {
        auto* etiqueta = Control<QLabel>(this, nombre, QString::fromUtf8(texto));
        etiqueta->setWordWrap(true);
        etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        boton->setMinimumWidth(110);
        rejilla->addWidget(boton, fila, 0, Qt::AlignTop);
        rejilla->addWidget(etiqueta, fila++, 1);
    }
    rejilla->setRowStretch(fila, 1);
    rejilla->setColumnStretch(1, 1);
    connect(cmdWriteTag, &QPushButton::clicked, this, &PestanaPrepararCD::PonerTags);
    connect(cmdDeleteTag, &QPushButton::clicked, this, &PestanaPrepararCD::BorrarTags);
    connect(cmdauto, &QPushButton::clicked, this, &PestanaPrepararCD::Autorun);
}

void PestanaPrepararCD::Habilita(const Habilitados& h)
{
    cmdWriteTag->setEnabled(h[Boton::cmdWriteTag]);
    cmdDeleteTag->setEnabled(h[Boton::cmdDeleteTag]);
    cmdauto->setEnabled(h[Boton::cmdauto]);
}
