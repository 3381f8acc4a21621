#include "common/avisos.h"

#include <exception>

#include "common/lodrinerror.h"

QString TextoFallo(const QString& que, const QString& causa)
{
    if (causa.startsWith(QLatin1String("No se ha podido")) || causa.startsWith(QLatin1String("No se puede")) ||
        que.isEmpty())
        return causa;
    return QStringLiteral("No se ha podido %1.\n%2").arg(que, causa);
}

bool Protege(Avisos& avisos, const QString& que, const std::function<void()>& operacion, const QString& titulo)
{
    QString fallo;
    try {
        operacion();
        return true;
    } catch (const OperacionCancelada& e) {
        avisos.Informa(e.message(), titulo);
        return false;
    } catch (const LodrinError& e) {
        fallo = e.message();
    } catch (const std::exception& e) {
        fallo = QString::fromLocal8Bit(e.what());
    }
    avisos.Falla(TextoFallo(que, fallo), titulo);
    return false;
}
