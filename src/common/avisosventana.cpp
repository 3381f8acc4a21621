#include "common/avisosventana.h"

#include <QMessageBox>

void AvisosVentana::Informa(const QString& texto, const QString& titulo)
{
    QMessageBox::information(padre_, titulo, texto);
}

void AvisosVentana::Falla(const QString& texto, const QString& titulo)
{
    QMessageBox::warning(padre_, titulo, texto);
}
