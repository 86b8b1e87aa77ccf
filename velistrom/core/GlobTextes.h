#pragma once
// The interface texts of the main program, loaded once at start from the language
// file (see common/LangFile.h) by FrmChoixLng::ChargtConstEouF and only read
// afterwards.
#include <QString>
#include <QStringList>

#include <array>

// Language code, the first line of "spoken.txt": "ConstPRJF" or "ConstPRJA".
extern QString gCodeLng;
// The per-user data folder as the start-up form computes it.
extern QString gDossLng;

// Section 1: entry n of the language file, n = 0 ... 300 (empty when none).
extern std::array<QString, 301> gTxtLng;
// Tips of the day: section 2 in file order, then the downloaded tips. Always
// exists; empty when there are none.
extern QStringList gTips;
// Section 3: help texts 0 ... 100.
extern std::array<QString, 101> gTxtAide;
// Section 4: menu help, gTabAideMenu[group 0..4][item 0..6].
extern std::array<std::array<QString, 7>, 5> gTabAideMenu;

// Entries 0 ... 271 of section 1 also live in a variable each: gLngNNN for entry
// NNN, except 226 and 264 (none) and four named by meaning:
//   27 gTxtQuitter, 58 gTxtPasDeZone, 130 gTxtCapture, 151 gTxtErrLance.
// X(name, entry number), in ascending order of the number.
#define VELISTROM_NAMED_TEXTS(X) \
  X(gLng000, 0) X(gLng001, 1) X(gLng002, 2) X(gLng003, 3) X(gLng004, 4) X(gLng005, 5) \
  X(gLng006, 6) X(gLng007, 7) X(gLng008, 8) X(gLng009, 9) X(gLng010, 10) X(gLng011, 11) \
  X(gLng012, 12) X(gLng013, 13) X(gLng014, 14) X(gLng015, 15) X(gLng016, 16) X(gLng017, 17) \
  X(gLng018, 18) X(gLng019, 19) X(gLng020, 20) X(gLng021, 21) X(gLng022, 22) X(gLng023, 23) \
  X(gLng024, 24) X(gLng025, 25) X(gLng026, 26) X(gTxtQuitter, 27) X(gLng028, 28) X(gLng029, 29) \
  X(gLng030, 30) X(gLng031, 31) X(gLng032, 32) X(gLng033, 33) X(gLng034, 34) X(gLng035, 35) \
  X(gLng036, 36) X(gLng037, 37) X(gLng038, 38) X(gLng039, 39) X(gLng040, 40) X(gLng041, 41) \
  X(gLng042, 42) X(gLng043, 43) X(gLng044, 44) X(gLng045, 45) X(gLng046, 46) X(gLng047, 47) \
  X(gLng048, 48) X(gLng049, 49) X(gLng050, 50) X(gLng051, 51) X(gLng052, 52) X(gLng053, 53) \
  X(gLng054, 54) X(gLng055, 55) X(gLng056, 56) X(gLng057, 57) X(gTxtPasDeZone, 58) X(gLng059, 59) \
  X(gLng060, 60) X(gLng061, 61) X(gLng062, 62) X(gLng063, 63) X(gLng064, 64) X(gLng065, 65) \
  X(gLng066, 66) X(gLng067, 67) X(gLng068, 68) X(gLng069, 69) X(gLng070, 70) X(gLng071, 71) \
  X(gLng072, 72) X(gLng073, 73) X(gLng074, 74) X(gLng075, 75) X(gLng076, 76) X(gLng077, 77) \
  X(gLng078, 78) X(gLng079, 79) X(gLng080, 80) X(gLng081, 81) X(gLng082, 82) X(gLng083, 83) \
  X(gLng084, 84) X(gLng085, 85) X(gLng086, 86) X(gLng087, 87) X(gLng088, 88) X(gLng089, 89) \
  X(gLng090, 90) X(gLng091, 91) X(gLng092, 92) X(gLng093, 93) X(gLng094, 94) X(gLng095, 95) \
  X(gLng096, 96) X(gLng097, 97) X(gLng098, 98) X(gLng099, 99) X(gLng100, 100) X(gLng101, 101) \
  X(gLng102, 102) X(gLng103, 103) X(gLng104, 104) X(gLng105, 105) X(gLng106, 106) X(gLng107, 107) \
  X(gLng108, 108) X(gLng109, 109) X(gLng110, 110) X(gLng111, 111) X(gLng112, 112) X(gLng113, 113) \
  X(gLng114, 114) X(gLng115, 115) X(gLng116, 116) X(gLng117, 117) X(gLng118, 118) X(gLng119, 119) \
  X(gLng120, 120) X(gLng121, 121) X(gLng122, 122) X(gLng123, 123) X(gLng124, 124) X(gLng125, 125) \
  X(gLng126, 126) X(gLng127, 127) X(gLng128, 128) X(gLng129, 129) X(gTxtCapture, 130) X(gLng131, 131) \
  X(gLng132, 132) X(gLng133, 133) X(gLng134, 134) X(gLng135, 135) X(gLng136, 136) X(gLng137, 137) \
  X(gLng138, 138) X(gLng139, 139) X(gLng140, 140) X(gLng141, 141) X(gLng142, 142) X(gLng143, 143) \
  X(gLng144, 144) X(gLng145, 145) X(gLng146, 146) X(gLng147, 147) X(gLng148, 148) X(gLng149, 149) \
  X(gLng150, 150) X(gTxtErrLance, 151) X(gLng152, 152) X(gLng153, 153) X(gLng154, 154) X(gLng155, 155) \
  X(gLng156, 156) X(gLng157, 157) X(gLng158, 158) X(gLng159, 159) X(gLng160, 160) X(gLng161, 161) \
  X(gLng162, 162) X(gLng163, 163) X(gLng164, 164) X(gLng165, 165) X(gLng166, 166) X(gLng167, 167) \
  X(gLng168, 168) X(gLng169, 169) X(gLng170, 170) X(gLng171, 171) X(gLng172, 172) X(gLng173, 173) \
  X(gLng174, 174) X(gLng175, 175) X(gLng176, 176) X(gLng177, 177) X(gLng178, 178) X(gLng179, 179) \
  X(gLng180, 180) X(gLng181, 181) X(gLng182, 182) X(gLng183, 183) X(gLng184, 184) X(gLng185, 185) \
  X(gLng186, 186) X(gLng187, 187) X(gLng188, 188) X(gLng189, 189) X(gLng190, 190) X(gLng191, 191) \
  X(gLng192, 192) X(gLng193, 193) X(gLng194, 194) X(gLng195, 195) X(gLng196, 196) X(gLng197, 197) \
  X(gLng198, 198) X(gLng199, 199) X(gLng200, 200) X(gLng201, 201) X(gLng202, 202) X(gLng203, 203) \
  X(gLng204, 204) X(gLng205, 205) X(gLng206, 206) X(gLng207, 207) X(gLng208, 208) X(gLng209, 209) \
  X(gLng210, 210) X(gLng211, 211) X(gLng212, 212) X(gLng213, 213) X(gLng214, 214) X(gLng215, 215) \
  X(gLng216, 216) X(gLng217, 217) X(gLng218, 218) X(gLng219, 219) X(gLng220, 220) X(gLng221, 221) \
  X(gLng222, 222) X(gLng223, 223) X(gLng224, 224) X(gLng225, 225) X(gLng227, 227) X(gLng228, 228) \
  X(gLng229, 229) X(gLng230, 230) X(gLng231, 231) X(gLng232, 232) X(gLng233, 233) X(gLng234, 234) \
  X(gLng235, 235) X(gLng236, 236) X(gLng237, 237) X(gLng238, 238) X(gLng239, 239) X(gLng240, 240) \
  X(gLng241, 241) X(gLng242, 242) X(gLng243, 243) X(gLng244, 244) X(gLng245, 245) X(gLng246, 246) \
  X(gLng247, 247) X(gLng248, 248) X(gLng249, 249) X(gLng250, 250) X(gLng251, 251) X(gLng252, 252) \
  X(gLng253, 253) X(gLng254, 254) X(gLng255, 255) X(gLng256, 256) X(gLng257, 257) X(gLng258, 258) \
  X(gLng259, 259) X(gLng260, 260) X(gLng261, 261) X(gLng262, 262) X(gLng263, 263) X(gLng265, 265) \
  X(gLng266, 266) X(gLng267, 267) X(gLng268, 268) X(gLng269, 269) X(gLng270, 270) X(gLng271, 271)

#define VELISTROM_DECLARE_TEXT(name, n) extern QString name;
VELISTROM_NAMED_TEXTS(VELISTROM_DECLARE_TEXT)
#undef VELISTROM_DECLARE_TEXT

// Copies gTxtLng into the named variables.
void CopierTextesNommes();
