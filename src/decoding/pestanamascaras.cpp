#include "decoding/pestanamascaras.h"

#include <QGridLayout>
#include <QPushButton>

#include "common/avisos.h"
#include "common/controles.h"
#include "decoding/mascaras.h"

PestanaMascaras::PestanaMascaras(Catalogo& bd, Avisos& avisos, QWidget* parent)
    : QWidget(parent), bd_(bd), avisos_(avisos)
{
    setObjectName(QStringLiteral("Mascaras"));
    lstMascaras = Informe(this, "lstMascaras", "Mascaras que tenemos dadas de alta");
    lstMascaras->setHeaderLabels({QStringLiteral("Mascara")});
    txtAnadir = Control<QLineEdit>(this, "txtAñadir", QString(), QStringLiteral("Mascara a añadir"));
    cmdAnadir = Control<QPushButton>(this, "cmdAñadir", QStringLiteral("Añadir"), QStringLiteral("Añadir mascara"));
    lblInfoMasc = Ayuda(this, "lblInfoMasc");

    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(6, 6, 6, 6);
    rejilla->addWidget(lstMascaras, 0, 0, 2, 1);
    rejilla->addWidget(txtAnadir, 0, 1);
    rejilla->addWidget(cmdAnadir, 0, 2);
    rejilla->addWidget(lblInfoMasc, 1, 1, 1, 2);
    rejilla->setColumnStretch(0, 2);
    rejilla->setColumnStretch(1, 3);
    rejilla->setRowStretch(1, 1);

    connect(cmdAnadir, &QPushButton::clicked, this, &PestanaMascaras::cmdAnadir_Click);
    connect(txtAnadir, &QLineEdit::returnPressed, this, &PestanaMascaras::cmdAnadir_Click);
}

void PestanaMascaras::Anade()
{
    if (!txtAnadir->text().isEmpty())
        AnadeMascara(bd_, txtAnadir->text());
    lstMascaras->clear();
    for (const QString& m : ListaMascarasGuardadas(bd_))
        lstMascaras->addTopLevelItem(new QTreeWidgetItem(QStringList{m}));
}

void PestanaMascaras::cmdAnadir_Click()
{
    Protege(avisos_, QStringLiteral("añadir la mascara \"%1\"").arg(txtAnadir->text()), [this] { Anade(); });
}

void PestanaMascaras::PonAyuda(const QString& texto) { lblInfoMasc->setText(texto); }
