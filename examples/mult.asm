; mult.asm - multiplies two numbers by shifting and adding.
; Shows: SLL and SRL, AND to test the lowest bit, and a loop that ends
; as soon as the multiplier has no one bits left.
; The product (123 * 45 = 5535) is left in GR0 and in C.
MULT	START
	LD	GR1,A		; GR1 = multiplicand, doubled every round
	LD	GR2,B		; GR2 = multiplier, halved every round
	LAD	GR0,0		; GR0 = product
MLOOP	LD	GR2,GR2		; any one bits left?
	JZE	MDONE
	LD	GR3,GR2
	AND	GR3,ONE		; lowest bit of the multiplier
	JZE	MSKIP
	ADDL	GR0,GR1		; bit set: add the multiplicand
MSKIP	SLL	GR1,1
	SRL	GR2,1
	JUMP	MLOOP
MDONE	ST	GR0,C
	RET
A	DC	123
B	DC	45
C	DS	1
ONE	DC	1
	END
