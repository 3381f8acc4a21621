#pragma once

class Avisos;
class ListaTrabajo;

// "Poner Tag's": every analysed MP3 row of the work list gets its ID3v2.4
// and ID3v1 tags.
// "Borrar tag's": every MP3 row loses it. The run stops at the first file
// that cannot be written, which is named; files done before keep theirs.
void PonTagsLista(const ListaTrabajo& lista, Avisos& avisos);
void BorraTagsLista(const ListaTrabajo& lista, Avisos& avisos);
