// SPDX-License-Identifier: MIT
// The one-pass removal gives what the slow step-by-step rule gives.
#include "core/signature.h"
#include "signaturereference.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    // First byte: the signature's length in characters; the rest: UTF-16 text.
    const qsizetype signatureLength = data[0] % 8;
    const QString all(reinterpret_cast<const QChar *>(data + 1), qsizetype((size - 1) / 2));
    const QString signature = all.left(signatureLength);
    const QString text = all.mid(signatureLength);
    // A match never splits a surrogate pair, which the slow rule may do when the
    // signature itself starts or ends with half a pair: compare the rest.
    if (!signature.isEmpty() && (signature.front().isSurrogate() || signature.back().isSurrogate()))
        return 0;
    if (RemoveSignature(text, signature) != referenceRemoval(text, signature))
        std::abort();
    return 0;
}
