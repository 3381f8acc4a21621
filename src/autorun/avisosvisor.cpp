#include "autorun/avisosvisor.h"

#include <QMessageBox>

void AvisosVisor::Informa(const QString& texto, const QString& titulo)
{
    QMessageBox::information(nullptr, titulo.isEmpty() ? QStringLiteral("Vistel") : titulo, texto);
}
