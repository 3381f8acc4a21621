#include "common/avisos.h"

#include <exception>

#include "common/lodrinerror.h"

bool Protege(Avisos& avisos, const QString& que, const std::function<void()>& operacion, const QString& titulo)
{
    QString fallo;
    try {
        operacion();
        return true;
    } catch (const LodrinError& e) {
        fallo = e.message();
    } catch (const std::exception& e) {
        fallo = QString::fromLocal8Bit(e.what());
    }
    avisos.Informa(QStringLiteral("No se ha podido %1.\n%2").arg(que, fallo), titulo);
    return false;
}
