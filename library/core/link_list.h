// An intrusive doubly linked list. A list is a head and a tail sentinel (values
// 0xFFFFFFFF); the first element follows the head.
#pragma once

#include <cstdint>

struct LinkNode {
  std::uint32_t valueA;
  std::uint32_t valueB;
  LinkNode* previous;
  LinkNode* next;
};

int InitLinkList(LinkNode* head, LinkNode* tail);
// Stores a and b in node and links it directly after where. Returns 0.
int InsertLinkAfter(LinkNode* where, LinkNode* node, std::uint32_t a, std::uint32_t b);
int UnlinkNode(LinkNode* node);
