// The image host's answer: the XML-RPC reader and the message built from it.
#include "common/EnvoiXmlRpc.h"
#include "common/TexteServeur.h"
#include "common/XmlRpc.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
  const xmlrpc::ReponseRpc r = xmlrpc::lireReponse(200, body);
  (void)envoi::messageReponse(r);
  // A fault's text reaches a box only through texteServeur: bounded, no controls.
  const QString shown = texteServeur(r.faute.description);
  if (shown.size() > kTexteServeurMax + 3) std::abort();
  for (const QChar c : shown)
    if (c.category() == QChar::Other_Control || c.unicode() == 0x202E) std::abort();
  return 0;
}
