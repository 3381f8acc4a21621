#include "common/avisosventana.h"

#include <QMessageBox>

void AvisosVentana::Informa(const QString& texto, const QString& titulo)
{
    QMessageBox::information(padre_, titulo, texto);
}
