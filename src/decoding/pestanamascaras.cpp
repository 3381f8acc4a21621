#include "decoding/pestanamascaras.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSettings>

#include "common/avisos.h"
#include "common/controles.h"
#include "decoding/mascaras.h"
#include "store/sesion.h"

namespace {
const QString kClaveEtiquetas = QStringLiteral("decodificacion/etiquetas");
// The user's own settings, not lodrin.ini: that file is the person's.
QSettings Ajustes() { return QSettings(QSettings::UserScope, QStringLiteral("Lodrin"), QStringLiteral("Lodrin")); }
}  // namespace

PestanaMascaras::PestanaMascaras(SesionCatalogo& sesion, Avisos& avisos, QWidget* parent)
    : QWidget(parent), sesion_(sesion), avisos_(avisos)
{
    setObjectName(QStringLiteral("Mascaras"));
    lstMascaras = Informe(this, "lstMascaras", "Mascaras que tenemos dadas de alta");
    lstMascaras->setHeaderLabels({QStringLiteral("Mascara")});
    txtAnadir = Control<QLineEdit>(this, "txtAñadir", QString(), QStringLiteral("Mascara a añadir"));
    cmdAnadir = Control<QPushButton>(this, "cmdAñadir", QStringLiteral("Añadir"), QStringLiteral("Añadir mascara"));
    lblInfoMasc = Ayuda(this, "lblInfoMasc");
    chkEtiquetas = Control<QCheckBox>(
        this, "chkEtiquetas",
        QStringLiteral("&Proponer también lo que dicen las etiquetas de los ficheros (ID3v2, APEv2) y tomar sus portadas"),
        QStringLiteral("Al analizar, ofrece como una máscara más, <etiquetas>, el autor, disco, canción y posición "
                       "que ya llevan los ficheros; un disco sin imágenes toma la portada de su primer fichero"));
    chkEtiquetas->setChecked(Ajustes().value(kClaveEtiquetas, true).toBool());

    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(6, 6, 6, 6);
    rejilla->addWidget(lstMascaras, 0, 0, 2, 1);
    rejilla->addWidget(txtAnadir, 0, 1);
    rejilla->addWidget(cmdAnadir, 0, 2);
    rejilla->addWidget(lblInfoMasc, 1, 1, 1, 2);
    rejilla->addWidget(chkEtiquetas, 2, 0, 1, 3);
    rejilla->setColumnStretch(0, 2);
    rejilla->setColumnStretch(1, 3);
    rejilla->setRowStretch(1, 1);

    connect(cmdAnadir, &QPushButton::clicked, this, &PestanaMascaras::cmdAnadir_Click);
    connect(txtAnadir, &QLineEdit::returnPressed, this, &PestanaMascaras::cmdAnadir_Click);
    connect(chkEtiquetas, &QCheckBox::toggled, this, [](bool si) { Ajustes().setValue(kClaveEtiquetas, si); });
    connect(&sesion_, &SesionCatalogo::Cambiado, this, [this] {
        Protege(avisos_, QStringLiteral("leer las máscaras"), [this] { muestra(); });
    });
}

void PestanaMascaras::Anade()
{
    if (!txtAnadir->text().isEmpty())
        AnadeMascara(sesion_.bd(), txtAnadir->text());
    muestra();
}

void PestanaMascaras::muestra()
{
    lstMascaras->clear();
    for (const QString& m : ListaMascarasGuardadas(sesion_.bd()))
        lstMascaras->addTopLevelItem(new QTreeWidgetItem(QStringList{m}));
}

void PestanaMascaras::cmdAnadir_Click()
{
    Protege(avisos_, QStringLiteral("añadir la máscara \"%1\"").arg(txtAnadir->text()), [this] { Anade(); });
}

void PestanaMascaras::PonAyuda(const QString& texto) { lblInfoMasc->setText(texto); }

bool PestanaMascaras::UsaEtiquetas() const { return chkEtiquetas->isChecked(); }
