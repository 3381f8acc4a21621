#pragma once

class Catalogo;
class ListaTrabajo;

// Marks every analysed MP3 row of the work list with the icon "true" when a
// song of the same title, disc and performer is in the catalogue on any CD,
// "false" otherwise. Reads the catalogue only; other rows are left alone.
void ComparaCD(Catalogo& bd, ListaTrabajo& lista);
