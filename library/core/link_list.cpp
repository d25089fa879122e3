#include "core/link_list.h"

namespace {
constexpr std::uint32_t kSentinelValue = 0xFFFFFFFFu;
}

int InitLinkList(LinkNode* head, LinkNode* tail) {
  *head = {kSentinelValue, kSentinelValue, nullptr, tail};
  *tail = {kSentinelValue, kSentinelValue, head, nullptr};
  return 0;
}

int InsertLinkAfter(LinkNode* where, LinkNode* node, std::uint32_t a, std::uint32_t b) {
  node->valueA = a;
  node->valueB = b;
  node->previous = where;
  node->next = where->next;
  if (where->next != nullptr) where->next->previous = node;
  where->next = node;
  return 0;
}

int UnlinkNode(LinkNode* node) {
  if (node->previous != nullptr) node->previous->next = node->next;
  if (node->next != nullptr) node->next->previous = node->previous;
  node->previous = nullptr;
  node->next = nullptr;
  return 0;
}
