#pragma once

class Avance;
class Avisos;
class ListaTrabajo;

// "Poner Tag's": every analysed MP3 row of the work list gets its ID3v2.4
// and ID3v1 tags.
// "Borrar tag's": every MP3 row loses the frames Poner writes and its ID3v1
// tag. Both write through the journal, a group of files at a time. A file that cannot be written is
// passed over and the run goes on; cancelled, the files done keep their tags.
// One summary at the end names the files not done and why.
void PonTagsLista(const ListaTrabajo& lista, Avance& avance, Avisos& avisos);
void BorraTagsLista(const ListaTrabajo& lista, Avance& avance, Avisos& avisos);
