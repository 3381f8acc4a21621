#pragma once
#include <QList>
#include <functional>

// Timing helpers shared by the benchmark programs.

// Wall-clock seconds taken by f.
double Mide(const std::function<void()>& f);

// Processor seconds used by the whole process so far; with the wall clock it
// tells work from waiting on a disk other programs share.
double Cpu();

// The middle value (the upper of the two middle ones for an even count).
double Mediana(QList<double> v);
