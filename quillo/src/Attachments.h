// The card's two delivery formats as attachment files: the card package (the player with the card's parts,
// BuildPackageAttachment) and the card picture (front above back in one JPEG, BuildPictureAttachment). The
// send and save commands call them. Each returns a new temporary file's path (the caller deletes the file) and
// fills desc when it and both its name buffers are given; empty on failure, after telling the user why.
#pragma once
#include <windows.h>
#include <mapi.h>

#include <string>

class cCardDialog;

std::string BuildPackageAttachment(cCardDialog& card, MapiFileDesc* desc = nullptr);
std::string BuildPictureAttachment(cCardDialog& card, MapiFileDesc* desc = nullptr);
