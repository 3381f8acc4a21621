#pragma once

class QCoreApplication;

// Qt's own texts (context menus, standard buttons, key names) in Spanish.
void CargaTraducciones(QCoreApplication& app);
