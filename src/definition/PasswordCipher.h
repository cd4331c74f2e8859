#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Keeps the passwords of a definition file from being read at a glance: an RC4 variant keyed
// with the entry's user name, then Base64. Anyone who knows the scheme can reverse it; it is
// not protection against an attacker. Everything works on bytes: the caller converts texts to
// the file's encoding first and decodes the deciphered bytes from it.
namespace slidesmith::definition {

// The value the key schedule's j starts from for a key of keyLength bytes: (255 mod L) + 2, and
// 1 for an empty key. Stored files depend on this deviation from plain RC4.
unsigned Rc4ScheduleStart(std::size_t keyLength);

// Enciphers or deciphers data in place (the same call does both). An empty key schedules with
// 256 zero bytes.
void Rc4Transform(std::string& data, std::string_view key);

// Standard Base64 (A-Z a-z 0-9 + /) with "=" padding and no line breaks.
std::string Base64Encode(std::string_view bytes);

// Decodes whole groups of four characters; stops at a group cut short by the end of the text,
// and after the bytes before a "=" in the third or fourth place of a group. Never fails: a
// character outside the alphabet counts as zero bits.
std::string Base64Decode(std::string_view text);

// The stored form of a password: Base64Encode(Rc4Transform(password, user)).
std::string EncipherPassword(std::string_view password, std::string_view user);

// The password bytes of a stored form; a wrong user or a damaged text gives wrong bytes.
std::string DecipherPassword(std::string_view stored, std::string_view user);

} // namespace slidesmith::definition
