#include "demo/huffman_code.h"

#include <stdexcept>
#include <vector>

namespace rw {
namespace {

// How often each byte value occurs in the engine's messages: msg_hData of ioquake3,
// code/qcommon/msg.c (the engine's own table since 1.30), as the ioquake3 server binary holds
// it.
constexpr std::array<int, 256> kSymbolFrequencies{
    250315, 41193, 6292,  7106,  3730,  3750, 6110,  23283, 33317, 6950, 7838, 9714, 9257, 17259,
    3949,   1778,  8288,  1604,  1590,  1663, 1100,  1213,  1238,  1134, 1749, 1059, 1246, 1149,
    1273,   4486,  2805,  3472,  21819, 1159, 1670,  1066,  1043,  1012, 1053, 1070, 1726, 888,
    1180,   850,   960,   780,   1752,  3296, 10630, 4514,  5881,  2685, 4650, 3837, 2093, 1867,
    2584,   1949,  1972,  940,   1134,  1788, 1670,  1206,  5719,  6128, 7222, 6654, 3710, 3795,
    1492,   1524,  2215,  1140,  1355,  971,  2180,  1248,  1328,  1195, 1770, 1078, 1264, 1266,
    1168,   965,   1155,  1186,  1347,  1228, 1529,  1600,  2617,  2048, 2546, 3275, 2410, 3585,
    2504,   2800,  2675,  6146,  3663,  2840, 14253, 3164,  2221,  1687, 3208, 2739, 3512, 4796,
    4091,   3515,  5288,  4016,  7937,  6031, 5360,  3924,  4892,  3743, 4566, 4807, 5852, 6400,
    6225,   8291,  23243, 7838,  7073,  8935, 5437,  4483,  3641,  5256, 5312, 5328, 5370, 3492,
    2458,   1694,  1821,  2121,  1916,  1149, 1516,  1367,  1236,  1029, 1258, 1104, 1245, 1006,
    1149,   1025,  1241,  952,   1287,  997,  1713,  1009,  1187,  879,  1099, 929,  1078, 951,
    1656,   930,   1153,  1030,  1262,  1062, 1214,  1060,  1621,  930,  1106, 912,  1034, 892,
    1158,   990,   1175,  850,   1121,  903,  1087,  920,   1144,  1056, 3462, 2240, 4397, 12136,
    7758,   1345,  1307,  3278,  1950,  886,  1023,  1112,  1077,  1042, 1061, 1071, 1484, 1001,
    1096,   915,   1052,  995,   1070,  876,  1111,  851,   1059,  805,  1112, 923,  1103, 817,
    1899,   1872,  976,   841,   1127,  956,  1159,  950,   7791,  954,  1289, 933,  1127, 3207,
    1020,   927,   1355,  768,   1040,  745,  952,   805,   1073,  740,  1013, 805,  1008, 796,
    996,    1057,  11457, 13504,
};

// The engine's adaptive Huffman tree (huffman.c of the same source): a tree that starts as the
// single not-yet-transmitted leaf and, for every symbol counted, either splits that leaf or
// raises the symbol's weight, keeping its nodes in a list ordered by weight and swapping a node
// with the highest-ranked one of equal weight before it grows. Ties are broken by that order,
// so only the same steps in the same order give the engine's code. Nodes are indices; a block
// head is a shared slot, recycled through a free list as the engine does.
class AdaptiveTree {
 public:
  static constexpr int kNone = -1;
  static constexpr int kInner = 257;

  struct Node {
    int left = kNone, right = kNone, parent = kNone;
    int next = kNone, prev = kNone;
    int head = kNone;  // slot holding the highest-ranked node of this weight
    int weight = 0;
    int symbol = 0;
  };

  AdaptiveTree() {
    nodes_.reserve(2 * 257);
    root_ = listHead_ = NewNode();
    nodes_[root_].symbol = HuffmanCode::kNotYetTransmitted;
    leafOf_.fill(kNone);
  }

  void Add(int symbol) {
    if (leafOf_[symbol] != kNone) {
      Increment(leafOf_[symbol]);
      return;
    }
    const int leaf = NewNode();
    const int inner = NewNode();
    const int nyt = listHead_;
    nodes_[inner].symbol = kInner;
    nodes_[inner].weight = 1;
    InsertAfterListHead(inner, inner);
    nodes_[leaf].symbol = symbol;
    nodes_[leaf].weight = 1;
    InsertAfterListHead(leaf, inner);

    const int parent = nodes_[nyt].parent;
    if (parent == kNone) {
      root_ = inner;
    } else if (nodes_[parent].left == nyt) {
      nodes_[parent].left = inner;
    } else {
      nodes_[parent].right = inner;
    }
    nodes_[inner].right = leaf;
    nodes_[inner].left = nyt;
    nodes_[inner].parent = parent;
    nodes_[nyt].parent = inner;
    nodes_[leaf].parent = inner;
    leafOf_[symbol] = leaf;
    Increment(parent);
  }

  int Root() const { return root_; }
  const Node& At(int node) const { return nodes_[node]; }

 private:
  int NewNode() {
    nodes_.emplace_back();
    return static_cast<int>(nodes_.size()) - 1;
  }
  int NewSlot() {
    if (freeSlot_ == kNone) {
      slots_.push_back(kNone);
      return static_cast<int>(slots_.size()) - 1;
    }
    const int slot = freeSlot_;
    freeSlot_ = slots_[slot];
    return slot;
  }
  void FreeSlot(int slot) {
    slots_[slot] = freeSlot_;
    freeSlot_ = slot;
  }

  // Puts a new node of weight 1 first after the not-yet-transmitted leaf; a new block of weight
  // 1 gets a slot that names ownerIfNew.
  void InsertAfterListHead(int node, int ownerIfNew) {
    Node& n = nodes_[node];
    const int first = nodes_[listHead_].next;
    n.next = first;
    if (first != kNone && nodes_[first].weight == 1) {
      n.head = nodes_[first].head;
    } else {
      n.head = NewSlot();
      slots_[n.head] = first != kNone ? ownerIfNew : node;
    }
    if (first != kNone) nodes_[first].prev = node;
    nodes_[listHead_].next = node;
    n.prev = listHead_;
  }

  // Exchanges the places of two nodes in the tree.
  void Swap(int a, int b) {
    const int parentA = nodes_[a].parent;
    const int parentB = nodes_[b].parent;
    ReplaceChild(parentA, a, b);
    ReplaceChild(parentB, b, a);
    nodes_[a].parent = parentB;
    nodes_[b].parent = parentA;
  }
  void ReplaceChild(int parent, int from, int to) {
    if (parent == kNone) {
      root_ = to;
    } else if (nodes_[parent].left == from) {
      nodes_[parent].left = to;
    } else {
      nodes_[parent].right = to;
    }
  }

  // Exchanges the places of two nodes in the ranked list.
  void SwapInList(int a, int b) {
    Node& na = nodes_[a];
    Node& nb = nodes_[b];
    std::swap(na.next, nb.next);
    std::swap(na.prev, nb.prev);
    if (na.next == a) na.next = b;
    if (nb.next == b) nb.next = a;
    if (na.next != kNone) nodes_[na.next].prev = a;
    if (nb.next != kNone) nodes_[nb.next].prev = b;
    if (na.prev != kNone) nodes_[na.prev].next = a;
    if (nb.prev != kNone) nodes_[nb.prev].next = b;
  }

  void Increment(int node) {
    if (node == kNone) return;
    Node* n = &nodes_[node];
    if (n->next != kNone && nodes_[n->next].weight == n->weight) {
      const int blockHead = slots_[n->head];
      if (blockHead != n->parent) Swap(blockHead, node);
      SwapInList(blockHead, node);
    }
    n = &nodes_[node];
    if (n->prev != kNone && nodes_[n->prev].weight == n->weight) {
      slots_[n->head] = n->prev;
    } else {
      slots_[n->head] = kNone;
      FreeSlot(n->head);
    }
    ++n->weight;
    if (n->next != kNone && nodes_[n->next].weight == n->weight) {
      n->head = nodes_[n->next].head;
    } else {
      n->head = NewSlot();
      slots_[n->head] = node;
    }
    if (n->parent == kNone) return;
    Increment(n->parent);
    n = &nodes_[node];
    if (n->prev == n->parent) {
      SwapInList(node, n->parent);
      if (slots_[nodes_[node].head] == node) slots_[nodes_[node].head] = nodes_[node].parent;
    }
  }

  std::vector<Node> nodes_;
  std::vector<int> slots_;
  int freeSlot_ = kNone;
  int root_ = kNone;
  int listHead_ = kNone;
  std::array<int, 256> leafOf_{};
};

}  // namespace

const HuffmanCode& HuffmanCode::Get() {
  static const HuffmanCode code;
  return code;
}

HuffmanCode::HuffmanCode() {
  AdaptiveTree tree;
  for (int symbol = 0; symbol < 256; ++symbol) {
    for (int count = 0; count < kSymbolFrequencies[symbol]; ++count) tree.Add(symbol);
  }
  // Each entry follows its index's bits, least significant first, from the root to a leaf.
  for (uint32_t bits = 0; bits < steps_.size(); ++bits) {
    int at = tree.Root();
    uint8_t used = 0;
    while (tree.At(at).symbol == AdaptiveTree::kInner) {
      if (used == kLookupBits) throw std::logic_error("a Huffman code is longer than the table");
      at = (bits >> used) & 1 ? tree.At(at).right : tree.At(at).left;
      ++used;
    }
    steps_[bits] = Step{static_cast<uint16_t>(tree.At(at).symbol), used};
  }
}

}  // namespace rw
