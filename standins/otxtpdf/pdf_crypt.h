// Decryption for the page counter: the standard security handler of PDF
// files that open without a password (an empty user password), as far as a
// page count needs it, which is the data of object streams. With its own
// MD5, RC4, AES and SHA-2, so the engine library stand-in needs no crypto
// library.
#pragma once
#include <cstdint>
#include <string>

// The values of an /Encrypt dictionary and the file's first /ID string.
struct PdfEncryption {
    std::string filter;        // /Filter, "Standard" for the handler known here
    int v = 0;                 // /V
    int r = 0;                 // /R
    int lengthBits = 40;       // /Length
    int64_t p = 0;             // /P
    std::string o, u, ue;      // /O, /U, /UE
    bool encryptMetadata = true;
    std::string streamMethod;  // /CFM of the crypt filter /StmF names (V 4 and 5)
    std::string id;            // first string of the trailer's /ID
};

struct PdfDecryptor {
    enum Method { kNone, kRc4, kAes128, kAes256 };
    Method method = kNone;
    std::string key;  // the file key
};

// Derives the file key for the empty user password. False when the file
// needs a password or a handler this counter does not know.
bool SetUpPdfDecryptor(const PdfEncryption& encryption, PdfDecryptor& decryptor);

// Decrypts in place the data of the stream of object num, generation gen.
bool DecryptPdfStream(const PdfDecryptor& decryptor, uint32_t num, uint32_t gen, std::string& data);

// The primitives, exposed for their known-answer tests.
std::string Md5(const std::string& data);
std::string Sha2(const std::string& data, int bits);  // 256, 384 or 512
void Rc4(const std::string& key, std::string& data);
// AES in CBC mode with a 16 or 32 byte key; the decryption takes the IV
// from the first block and, when unpad, removes the PKCS#5 padding.
bool AesCbcDecrypt(const std::string& key, std::string& data, bool unpad);
std::string AesCbcEncrypt(const std::string& key, const std::string& iv, const std::string& data);
