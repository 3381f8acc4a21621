#pragma once

// Window geometry is given in twips (1/1440 inch); pixels at 96 dots per inch.
constexpr int Twips(int twips) { return (twips + 7) / 15; }
