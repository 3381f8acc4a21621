#include "decoding/dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

Dialog::Dialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Entra los datos"));
    setModal(true);
    setSizeGripEnabled(true);

    auto* rejilla = new QGridLayout(this);
    lblCambia = new QLabel(this);
    lblCambia->setTextFormat(Qt::PlainText);
    lblCambia->setObjectName(QStringLiteral("lblCambia"));
    rejilla->addWidget(lblCambia, 0, 0, 1, 2);

    const char* const etiquetas[4] = {"Autor.................", "Disco................", "Cancion............",
                                      "Posicion............"};
    for (int i = 0; i < 4; ++i) {
        auto* etiqueta = new QLabel(QString::fromLatin1(etiquetas[i]), this);
        etiqueta->setObjectName(QStringLiteral("lblCampo%1").arg(i));
        auto* caja = new QLineEdit(this);
        caja->setObjectName(QStringLiteral("txtCambia%1").arg(i));
        caja->setProperty("Index", i);
        caja->setMinimumWidth(280);
        // What is typed is kept whole, however long.
        caja->setMaxLength(std::numeric_limits<int>::max());
        etiqueta->setBuddy(caja);
        rejilla->addWidget(etiqueta, i + 1, 0);
        rejilla->addWidget(caja, i + 1, 1);
        txtCambia[size_t(i)] = caja;
    }

    OKButton = new QPushButton(QStringLiteral("Aceptar"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancelar"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(OKButton);
    botones->addWidget(CancelButton);
    rejilla->addLayout(botones, 5, 0, 1, 2);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void Dialog::Carga(const DatosEntrada& datos)
{
    for (size_t i = 0; i < 4; ++i) {
        txtCambia[i]->setText(datos.textos[i]);
        txtCambia[i]->setEnabled(datos.habilitados[i]);
    }
    lblCambia->setText(datos.etiqueta);
    catalogo = datos.catalogo;
}

void Dialog::Lee(DatosEntrada& datos) const
{
    for (size_t i = 0; i < 4; ++i)
        datos.textos[i] = txtCambia[i]->text();
}

bool EntradaDialogo::Pide(DatosEntrada& datos)
{
    Dialog dialogo(dueno_);
    dialogo.Carga(datos);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    dialogo.Lee(datos);
    return true;
}
