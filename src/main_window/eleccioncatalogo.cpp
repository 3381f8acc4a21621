#include "main_window/eleccioncatalogo.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "store/ubicacion.h"

QString EleccionDialogo::Fichero(const QString& carpeta)
{
    return QFileDialog::getOpenFileName(padre_, QStringLiteral("Abrir catálogo"), carpeta,
                                        QStringLiteral("Catálogos (*.mdb);;Todos (*)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString EleccionDialogo::FicheroCsv(const QString& propuesto)
{
    return QFileDialog::getSaveFileName(padre_, QStringLiteral("Exportar"), propuesto,
                                        QStringLiteral("CSV (*.csv);;Todos (*)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

bool EleccionDialogo::Servidor(UbicacionCatalogo& u)
{
    QDialog dialogo(padre_);
    dialogo.setObjectName(QStringLiteral("dlgServidor"));
    dialogo.setWindowTitle(QStringLiteral("Abrir catálogo de un servidor"));
    auto* host = new QLineEdit(u.host, &dialogo);
    host->setObjectName(QStringLiteral("txtHost"));
    host->setPlaceholderText(QStringLiteral("localhost"));
    auto* puerto = new QSpinBox(&dialogo);
    puerto->setObjectName(QStringLiteral("txtPuerto"));
    puerto->setRange(1, 65535);
    puerto->setValue(u.puerto);
    auto* base = new QLineEdit(u.base, &dialogo);
    base->setObjectName(QStringLiteral("txtBase"));
    auto* usuario = new QLineEdit(u.usuario, &dialogo);
    usuario->setObjectName(QStringLiteral("txtUsuario"));
    auto* clave = new QLineEdit(&dialogo);
    clave->setObjectName(QStringLiteral("txtClave"));
    clave->setEchoMode(QLineEdit::Password);
    clave->setPlaceholderText(QStringLiteral("vacía: ~/.pgpass o PGPASSWORD"));
    // Room for a host name or the placeholder whole.
    clave->setMinimumWidth(clave->fontMetrics().averageCharWidth() * 40);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Abrir"));
    auto* forma = new QFormLayout(&dialogo);
    forma->addRow(QStringLiteral("&Servidor:"), host);
    forma->addRow(QStringLiteral("&Puerto:"), puerto);
    forma->addRow(QStringLiteral("&Base de datos:"), base);
    forma->addRow(QStringLiteral("&Usuario:"), usuario);
    forma->addRow(QStringLiteral("&Contraseña:"), clave);
    forma->addRow(botones);
    QObject::connect(botones, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    const auto completo = [&] { botones->button(QDialogButtonBox::Ok)->setEnabled(!base->text().trimmed().isEmpty()); };
    QObject::connect(base, &QLineEdit::textChanged, &dialogo, completo);
    completo();
    (u.base.isEmpty() ? static_cast<QWidget*>(host) : static_cast<QWidget*>(clave))->setFocus();
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    u.motor = Motor::PostgreSQL;
    u.host = host->text().trimmed();
    u.puerto = puerto->value();
    u.base = base->text().trimmed();
    u.usuario = usuario->text().trimmed();
    u.clave = clave->text();
    u.error.clear();
    return true;
}
